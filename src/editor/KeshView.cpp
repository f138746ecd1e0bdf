#include "editor/KeshView.h"

#include <QEvent>
#include <QKeyEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QUndoStack>
#include <QVBoxLayout>

#include "app/Messenger.h"
#include "editor/CellEditors.h"
#include "editor/ChannelGrid.h"
#include "editor/FocusNext.h"
#include "editor/ImageStep.h"
#include "image/KeshDoc.h"
#include "link/ProgressDlg.h"
#include "link/TransferRunner.h"
#include "res/ResourceIds.h"
#include "res/QtText.h"

namespace {

const char* const kHeaders[CChannelGrid::kCols] = {"频道", "接收频率", "发射频率", "接收信令", "发射信令", " 宽/窄",
                                                   "扫描添加", "发射功率", " 可选信令", "PTTID", "繁忙锁定"};

template <std::size_t N>
QComboBox* MakeCombo(int id, const std::array<std::string, N>& items, QWidget* parent) {
    // Only the selected entry is ever read, so the box never shows any other
    // text: no typing into it.
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::number(id));
    for (const std::string& item : items) combo->addItem(QString::fromStdString(item));
    combo->setMaxVisibleItems(10);
    return combo;
}

}  // namespace

CKeshView::CKeshView(CKeshDoc* document, QWidget* parent)
    : QWidget(parent), m_pDocument(document), m_bandLimits(BandLimitTable()) {
    setObjectName(QString::number(ids::IDD_FORM));
    auto* group = new QGroupBox(QStringLiteral("整机设置"), this);
    m_cbModel = MakeCombo(ids::IDC_MODEL, ModelTexts(), group);
    m_cbBand = MakeCombo(ids::IDC_BAND, BandTexts(), group);
    m_cbPower = MakeCombo(ids::IDC_POWER_LEVEL, PowerLevelTexts(), group);
    m_cbManual = MakeCombo(ids::IDC_MANUAL, ManualTexts(), group);
    auto* row = new QHBoxLayout(group);
    auto addLabelled = [&](const char* label, QComboBox* combo) {
        auto* l = new QLabel(QString::fromUtf8(label), group);
        l->setBuddy(combo);
        row->addWidget(l);
        row->addWidget(combo);
        row->addSpacing(12);
    };
    addLabelled("机型", m_cbModel);
    addLabelled("频段", m_cbBand);
    addLabelled("发射功率等级", m_cbPower);
    addLabelled("手动设置", m_cbManual);
    row->addStretch();

    m_grid = new CChannelGrid(this);
    m_grid->setObjectName(QString::number(ids::IDC_GRID));
    QFont cellFont(QStringLiteral("Times New Roman"));
    cellFont.setPointSizeF(8.25);
    m_grid->setFont(cellFont);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(m_grid, 1);

    for (QComboBox* combo : {m_cbModel, m_cbBand, m_cbPower, m_cbManual}) {
        WatchPointer(combo);
        connect(combo, &QComboBox::activated, this, [this] { RecordStep(QStringLiteral("整机设置")); });
    }
    WatchPointer(m_grid);
    WatchPointer(m_grid->viewport());
    WatchPointer(this);
    WatchPointer(group);
    m_pDocument->SetGridPull([this] { UpdateImageFromGrid(); });

    m_undo = new QUndoStack(this);
    m_undo->setUndoLimit(500);
    connect(m_undo, &QUndoStack::cleanChanged, this, [this](bool clean) { m_pDocument->SetModifiedFlag(!clean); });
    connect(m_pDocument, &CKeshDoc::modifiedChanged, this, [this](bool modified) {
        if (!modified) m_undo->setClean();
    });

    m_pProgress = new CProgressDlg(this);
    m_pProgress->setWindowFlag(Qt::Window);
    m_runner = new CTransferRunner(m_pProgress, this);
    connect(m_pProgress, &CProgressDlg::startRequested, this, &CKeshView::OnTransfer);
    connect(m_runner, &CTransferRunner::finished, this, &CKeshView::OnTransferFinished);
}

CKeshView::~CKeshView() {
    // The window's actions are gone by now: the steps are deleted in silence.
    m_undo->blockSignals(true);
}

void CKeshView::OnReadWrite(bool write) {
    CommitCellEdit();
    if (m_pProgress->isVisible()) return;
    m_bWrite = write ? 1 : 0;
    m_pProgress->Open(write ? QStringLiteral("写频进度") : QStringLiteral("读频进度"), write, m_grid);
}

void CKeshView::SetEditingEnabled(bool enabled) {
    if (!enabled) m_editors->HideAll();
    m_editors->SetEnabled(enabled);
    for (QComboBox* combo : {m_cbModel, m_cbBand, m_cbPower, m_cbManual}) combo->setEnabled(enabled);
}

bool CKeshView::IsTransferRunning() const { return m_runner->IsRunning(); }

void CKeshView::OnTransfer() {
    if (m_bWrite) UpdateImageFromGrid();
    emit transferRunning(true);
    m_runner->Start(m_bWrite ? CloneDirection::Write : CloneDirection::Read, m_strPort, m_pDocument->m_image);
}

void CKeshView::OnTransferFinished(const CloneResult& result) {
    m_pProgress->Finish();
    if (!m_bWrite && result.outcome == CloneOutcome::Completed) {
        // The radio's memory replaces what the user had, as one step.
        ReplaceImage(result.image, QStringLiteral("读频"), true);
    }
    emit transferRunning(false);
    if (result.outcome == CloneOutcome::Completed) emit transferCompleted(m_bWrite != 0, m_runner->Port(), m_runner->ElapsedMs());
}

void CKeshView::WatchPointer(QWidget* widget) {
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
    for (QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (qobject_cast<QLabel*>(child)) child->installEventFilter(this);
}

bool CKeshView::eventFilter(QObject* watched, QEvent* event) {
    // Enter in one of the four boxes moves on to the next control.
    if (event->type() == QEvent::KeyPress && qobject_cast<QComboBox*>(watched)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            FocusNextControl(static_cast<QWidget*>(watched));
            return true;
        }
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
    // Column widths follow from the width w of the frequency columns, which
    // must show "512.01875" and the caption "接收频率" in full.
    const QFontMetrics metrics(m_grid->font());
    const int w = std::max(metrics.horizontalAdvance(QStringLiteral("0000.000000")),
                           QFontMetrics(m_grid->horizontalHeader()->font()).horizontalAdvance(QStringLiteral("接收频率")) + 16);
    m_grid->SetColWidth(2, w);
    m_grid->SetColWidth(1, w);
    m_grid->SetColWidth(0, w / 2);
    m_grid->SetColWidth(3, w * 10 / 11);
    m_grid->SetColWidth(4, w * 10 / 11);
    for (int c = 5; c <= 10; ++c) m_grid->SetColWidth(c, w * 5 / 6);
    m_grid->SetColWidth(8, w);
    m_editors = new CCellEditors(
        m_grid, this, [this] { return Band(); },
        [this] { RecordStep(QStringLiteral("输入")); });
    m_cbModel->setCurrentIndex(0);
    m_cbPower->setCurrentIndex(9);
    m_cbBand->setCurrentIndex(2);
    m_bSetUp = true;
}

void CKeshView::OnInitialUpdate() {
    if (!m_bSetUp) OneTimeSetUp();
    m_editors->m_editFreq->clear();
    m_editors->HideAll();
    UpdateGridFromImage();
    for (int c = 0; c < CChannelGrid::kCols; ++c) m_grid->SetTextMatrix(0, c, QString::fromUtf8(kHeaders[c]));
    for (int r = 1; r < CChannelGrid::kRows; ++r) m_grid->SetTextMatrix(r, 0, QString::number(r));
    m_cbModel->setFocus();
    m_undo->clear();
    m_lastStep = ImageWithGrid();
}

void CKeshView::CommitCellEdit() {
    if (m_editors) m_editors->CommitCellEdit();
}

void CKeshView::UpdateGridFromImage() { ::UpdateGridFromImage(m_pDocument->m_image, *this); }

void CKeshView::UpdateImageFromGrid() { ::UpdateImageFromGrid(*this, m_pDocument->m_image); }

RadioImage CKeshView::ImageWithGrid() const {
    RadioImage image = m_pDocument->m_image;
    ::UpdateImageFromGrid(*this, image);
    return image;
}

void CKeshView::RecordStep(const QString& name, bool always) {
    const RadioImage now = ImageWithGrid();
    if (now == m_lastStep && !always) return;
    m_undo->push(new CImageStep(name, m_lastStep, now, [this](const RadioImage& image) { ShowImage(image); }));
    m_lastStep = now;
}

void CKeshView::ReplaceImage(const RadioImage& image, const QString& name, bool always) {
    m_pDocument->m_image = image;
    UpdateGridFromImage();
    RecordStep(name, always);
}

void CKeshView::ShowImage(const RadioImage& image) {
    m_editors->HideAll();
    m_pDocument->m_image = image;
    UpdateGridFromImage();
    m_editors->LoadEditor();
    m_lastStep = image;
}

ReportInputs CKeshView::ReportInputsFromView() const {
    ReportInputs in;
    in.image = m_pDocument->m_image;
    in.model = m_cbModel->currentText().toStdString();
    in.band = m_cbBand->currentText().toStdString();
    in.powerLevel = m_cbPower->currentText().toStdString();
    in.cell = [grid = m_grid](int row, int col) { return grid->TextMatrix(row, col).toStdString(); };
    return in;
}

void CKeshView::OnEditChannels() {
    Messenger::Show(this, QTr(TextId::EditChannelsHint), Buttons::Ok, MessageIcon::Warning);
    m_grid->SetCurrentCell(1, 1);
}

std::string CKeshView::CellText(int row, int column) const { return m_grid->TextMatrix(row, column).toStdString(); }

void CKeshView::SetCellText(int row, int column, const std::string& text) {
    m_grid->SetTextMatrix(row, column, QString::fromStdString(text));
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

int CKeshView::Selection(FormBox box) const { return std::max(0, ComboFor(box)->currentIndex()); }

void CKeshView::SetSelection(FormBox box, int index) { ComboFor(box)->setCurrentIndex(index); }
