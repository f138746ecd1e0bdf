#include "editor/KeshView.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "ui/Messenger.h"
#include "editor/CellDelegate.h"
#include "editor/ChannelGrid.h"
#include "editor/ChannelModel.h"
#include "editor/FocusNext.h"
#include "editor/GridKeyPress.h"
#include "image/KeshDoc.h"
#include "link/ProgressDlg.h"
#include "link/EngineRunner.h"
#include "res/ResourceIds.h"
#include "res/QtText.h"

namespace {

// Only the selected entry is ever read, so a box never shows any other text:
// no typing into it.
QComboBox* MakeCombo(int id, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::number(id));
    combo->setMaxVisibleItems(10);
    // A real wheel would hand a box the focus before anything else sees it,
    // and then turn it: the focus comes from a click or Tab only.
    combo->setFocusPolicy(Qt::StrongFocus);
    return combo;
}

// Puts `items` into `combo`, its selection kept and no change reported.
template <typename Items>
void Fill(QComboBox* combo, const Items& items) {
    const QSignalBlocker quiet(combo);
    const int index = combo->currentIndex();
    combo->clear();
    for (const std::string& item : items) combo->addItem(QString::fromStdString(item));
    combo->setCurrentIndex(index);
}

}  // namespace

CKeshView::CKeshView(CKeshDoc* document, QWidget* parent) : QWidget(parent), m_pDocument(document) {
    setObjectName(QString::number(ids::IDD_FORM));
    m_group = new QGroupBox(this);
    m_cbModel = MakeCombo(ids::IDC_MODEL, m_group);
    m_cbBand = MakeCombo(ids::IDC_BAND, m_group);
    m_cbPower = MakeCombo(ids::IDC_POWER_LEVEL, m_group);
    m_cbManual = MakeCombo(ids::IDC_MANUAL, m_group);
    auto* row = new QHBoxLayout(m_group);
    for (QComboBox* combo : {m_cbModel, m_cbBand, m_cbPower, m_cbManual}) {
        auto* label = new QLabel(m_group);
        label->setBuddy(combo);
        m_labels.push_back(label);
        row->addWidget(label);
        row->addWidget(combo);
        row->addSpacing(12);
    }
    row->addStretch();

    m_model = new CChannelModel(&m_pDocument->Session(), &m_comparison, this);
    m_grid = new CChannelGrid(
        m_model,
        [this](int r, int c, const std::string& text, CellEntry entry) {
            return Change([&](EditSession& s) { return s.SetCell(r, c, text, entry); });
        },
        this);
    m_grid->setObjectName(QString::number(ids::IDC_GRID));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_group);
    layout->addWidget(m_grid, 1);

    for (FormBox box : kFormBoxes) {
        QComboBox* combo = ComboFor(box);
        WatchPointer(combo);
        // However the index changes (list, keys, the wheel over the box with
        // the focus), the session takes it; showing the session's own
        // selection is no change.
        connect(combo, &QComboBox::currentIndexChanged, this, [this, box](int index) {
            if (index >= 0) Change([&](EditSession& s) { return s.SetSelection(box, index); });
        });
    }
    WatchPointer(m_grid);
    WatchPointer(m_grid->viewport());
    WatchPointer(this);
    WatchPointer(m_group);
    ApplyTexts();

    m_pProgress = new CProgressDlg(this);
    m_pProgress->setWindowFlag(Qt::Window);
    connect(&m_pProgress->Runner(), &CEngineRunner::transferFinished, this, &CKeshView::OnTransferFinished);
    connect(m_pProgress, &CProgressDlg::rowsFinished, this, [this] { emit transferRunning(false); });
}

EditResult CKeshView::Change(const std::function<EditResult(EditSession&)>& change) {
    const EditResult result = change(m_pDocument->Session());
    m_model->Changed(result);
    if (result.selectionsChanged) ShowSelections();
    m_pDocument->Changed();
    RefreshComparison();
    emit sessionChanged();
    return result;
}

void CKeshView::RefreshComparison() {
    if (!m_comparison.Active()) return;
    m_comparison.Refresh(ImageForSave());
    m_model->Reloaded();
    emit comparisonChanged();
}

void CKeshView::CompareWith(const RadioImage& other, const ComparedName& name) {
    m_comparison.Start(other, name, ImageForSave());
    m_model->Reloaded();
    emit comparisonChanged();
    // The grid shows the first difference, wherever the current cell was;
    // with no cell differing the current cell stays where it is.
    GoToDifference(m_comparison.Step(0, 0, true));
}

void CKeshView::EndComparison() {
    m_comparison.Stop();
    m_model->Reloaded();
    emit comparisonChanged();
    // The panel's button goes with the panel: the keys go back to the grid,
    // never to a box of the form that the next arrow key would change.
    m_grid->setFocus();
}

void CKeshView::StepDifference(bool forward) {
    GoToDifference(m_comparison.Step(m_grid->Row(), m_grid->Col(), forward));
}

void CKeshView::GoToDifference(int at) {
    if (at >= 0) {
        const ImageDifference& d = m_comparison.Differences()[static_cast<std::size_t>(at)];
        m_grid->SelectCells(CellRange{d.channel, d.column, d.channel, d.column});
    }
    m_grid->setFocus();
}

void CKeshView::OnCompareRadio() {
    if (m_pProgress->isVisible()) return;
    m_bWrite = 0;
    m_bCompareRead = true;
    m_pProgress->Open(QTr(TextId::ProgressReadTitle), false, m_grid);
}

void CKeshView::OnReadWrite(bool write) {
    if (m_pProgress->isVisible()) return;
    m_bWrite = write ? 1 : 0;
    m_bCompareRead = false;
    m_pProgress->Open(QTr(write ? TextId::ProgressWriteTitle : TextId::ProgressReadTitle), write, m_grid, m_strPort);
}

void CKeshView::SetEditingEnabled(bool enabled) {
    m_grid->SetEditingEnabled(enabled);
    for (QComboBox* combo : {m_cbModel, m_cbBand, m_cbPower, m_cbManual}) combo->setEnabled(enabled);
}

bool CKeshView::IsTransferRunning() const { return m_pProgress->Runner().IsRunning() || m_pProgress->RowsRunning(); }

void CKeshView::OnTransfer() {
    if (m_bWrite) m_sent = m_pDocument->Doc().ImageForWrite();
    emit transferRunning(true);
    // A write goes to the ports checked in its window: several at once, each
    // on its own row.
    const QStringList ports = m_bWrite ? m_pProgress->Ports() : QStringList();
    if (ports.size() > 1) return m_pProgress->StartAtOnce(ports, m_sent, m_pProgress->Backup());
    m_pProgress->Runner().StartTransfer(m_bWrite ? CloneDirection::Write : CloneDirection::Read,
                                        ports.value(0, m_strPort), m_sent, m_pProgress->Backup());
}

void CKeshView::OnTransferFinished(const CloneResult& result) {
    m_pProgress->Finish(m_pProgress->Runner().Port(), result);
    if (!m_bWrite && result.outcome == CloneOutcome::Completed) {
        if (m_bCompareRead)
            CompareWith(result.image, ComparedName::Text(TextId::CompareRadioName));
        else  // the radio's memory replaces what the user had, as one step
            Change([&](EditSession&) { return m_pDocument->Doc().ReadReplaces(result.image); });
        FocusGrid();
    }
    m_comparison.TransferEnded(m_bWrite ? CloneDirection::Write : CloneDirection::Read, result, m_sent);
    RefreshComparison();
    emit transferRunning(false);
    if (const auto notice =
            TransferStatusText(m_bWrite ? CloneDirection::Write : CloneDirection::Read, result.outcome,
                               m_pProgress->Runner().Port().toStdString(), m_pProgress->Runner().ElapsedMs()))
        emit transferNotice(QString::fromStdString(*notice));
}

void CKeshView::WatchPointer(QWidget* widget) {
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
    for (QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (qobject_cast<QLabel*>(child)) child->installEventFilter(this);
}

bool CKeshView::eventFilter(QObject* watched, QEvent* event) {
    // The wheel passing over a box it has not been given to changes nothing.
    if (event->type() == QEvent::Wheel && qobject_cast<QComboBox*>(watched) &&
        !static_cast<QWidget*>(watched)->hasFocus())
        return true;
    // A key in one of the four boxes: Enter moves on to the next control.
    if (event->type() == QEvent::KeyPress && qobject_cast<QComboBox*>(watched) &&
        KeyOnFormBox(GridKeyPressOf(static_cast<QKeyEvent*>(event))).action == GridAction::LeaveGrid) {
        FocusNextControl(static_cast<QWidget*>(watched));
        return true;
    }
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove || event->type() == QEvent::HoverMove) {
        QString help = QTr(TextId::Idle);
        if (qobject_cast<QComboBox*>(watched))
            help = QTr(TextId::PointerCombo);
        else if (watched == m_grid || watched == m_grid->viewport())
            help = QTr(TextId::PointerGrid);
        emit pointerHelp(help);
    }
    return QWidget::eventFilter(watched, event);
}

void CKeshView::OneTimeSetUp() {
    // Column widths are shares of the width w of the frequency columns: the
    // least w that shows "512.01875", every caption in either language and
    // every cell editor with its longest entry.
    struct Share {
        int num, den;
    };
    static constexpr Share kShares[col::kCount] = {{1, 2}, {1, 1}, {1, 1}, {10, 11}, {10, 11}, {5, 6},
                                                   {5, 6}, {5, 6}, {1, 1}, {5, 6},   {5, 6}};
    const QFontMetrics header(m_grid->horizontalHeader()->font());
    int w = QFontMetrics(m_grid->font()).horizontalAdvance(QStringLiteral("0000.000000"));
    for (int c = 0; c < col::kCount; ++c) {
        int needed = 0;
        for (Lang lang : {Lang::Zh, Lang::En})
            needed = std::max(needed, header.horizontalAdvance(CChannelModel::Caption(c, lang)) + 16);
        // A cell is its column less the grid line.
        if (c > 0) needed = std::max(needed, CCellDelegate::EditorWidth(c, m_grid->viewport()) + 1);
        w = std::max(w, (needed * kShares[c].den + kShares[c].num - 1) / kShares[c].num);
    }
    for (int c = 0; c < col::kCount; ++c) m_grid->SetColWidth(c, w * kShares[c].num / kShares[c].den);
    m_bSetUp = true;
}

void CKeshView::OnInitialUpdate() {
    if (!m_bSetUp) OneTimeSetUp();
    m_grid->AbandonEdit();
    m_pDocument->Changed();
    m_model->Reloaded();
    RefreshComparison();
    ShowSelections();
    FocusGrid();
    emit sessionChanged();
}

void CKeshView::FocusGrid() {
    if (!m_grid->currentIndex().isValid()) m_grid->SetCurrentCell(1, 1);
    m_grid->setFocus();
}

void CKeshView::ApplyTexts() {
    m_group->setTitle(QTr(TextId::FormGroup));
    const TextId labels[] = {TextId::LabelModel, TextId::LabelBand, TextId::LabelPowerLevel, TextId::LabelManual};
    for (std::size_t i = 0; i < m_labels.size(); ++i) m_labels[i]->setText(QTr(labels[i]));
    Fill(m_cbModel, ModelTexts());
    Fill(m_cbBand, BandTexts());
    Fill(m_cbPower, PowerLevelTexts());
    Fill(m_cbManual, ManualTexts());
    m_model->CaptionsChanged();
    // The channels' list texts (宽/窄 and the like) follow too, and so do
    // the differences of an open comparison.
    m_pDocument->Session().Relabel(CurrentLanguage());
    m_model->Reloaded();
    RefreshComparison();
}

void CKeshView::ShowSelections() {
    // Showing the session's own selection is no change to report.
    for (FormBox box : kFormBoxes) {
        const QSignalBlocker quiet(ComboFor(box));
        ComboFor(box)->setCurrentIndex(Session().Selection(box));
    }
}

ReportInputs CKeshView::ReportInputsFromView() const {
    ReportInputs in;
    in.image = ImageForSave();
    in.model = m_cbModel->currentText().toStdString();
    in.band = m_cbBand->currentText().toStdString();
    in.powerLevel = m_cbPower->currentText().toStdString();
    in.cell = [grid = m_grid](int row, int col) { return grid->TextMatrix(row, col).toStdString(); };
    return in;
}

void CKeshView::OnEditChannels() {
    Messenger::Show(this, QTr(TextId::EditChannelsHint), Buttons::Ok, MessageIcon::Warning);
    m_grid->SetCurrentCell(1, 1);
    m_grid->setFocus();
}

QComboBox* CKeshView::ComboFor(FormBox box) const {
    switch (box) {
        case FormBox::Band: return m_cbBand;
        case FormBox::Model: return m_cbModel;
        case FormBox::Manual: return m_cbManual;
        case FormBox::PowerLevel: return m_cbPower;
    }
    return m_cbBand;
}
