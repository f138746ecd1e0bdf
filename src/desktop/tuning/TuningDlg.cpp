#include "tuning/TuningDlg.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include "ui/DialogFrame.h"
#include "ui/Messenger.h"
#include "image/ChannelCodec.h"
#include "res/QtText.h"
#include "res/ResourceIds.h"

namespace {

const TextId kSetNames[] = {TextId::TuningSetHigh, TextId::TuningSetMiddle, TextId::TuningSetLow};
const TextId kItemNames[] = {TextId::TuningItemTxFreq, TextId::TuningItemBattery, TextId::TuningItemSquelch,
                             TextId::TuningItemPower};
constexpr int kRoleSet = Qt::UserRole;
constexpr int kRoleItem = Qt::UserRole + 1;
constexpr int kRoleExit = Qt::UserRole + 2;
constexpr int kVisibleTones = 15;

template <typename T>
T* Named(T* widget, int id) {
    widget->setObjectName(QString::number(id));
    return widget;
}

QLabel* Label(TextId text, int id, QWidget* parent) { return Named(new QLabel(QTr(text), parent), id); }

void Fill(QComboBox* list, SignallingKind kind) {
    list->clear();
    for (const std::string& text : SignallingList(kind)) list->addItem(QString::fromStdString(text));
    list->setCurrentIndex(0);
}

}  // namespace

CTuningDlg::CTuningDlg(const QString& bandText, const QString& port, QWidget* parent)
    : QDialog(parent), m_model(BandLowUnits(bandText.toStdString())), m_strPort(port) {
    setObjectName(QString::number(ids::IDD_TUNING));
    setWindowTitle(QTr(TextId::TuningTitle));
    ShowCloseButtonOnly(this);

    // The dialog waits while the exchange runs off its thread.
    connect(&Runner(), &CEngineRunner::tuningFinished, this, [this] {
        setEnabled(true);
        if (m_focusBeforeExchange) m_focusBeforeExchange->setFocus();
    });

    m_tree = Named(new QTreeWidget(this), 1026);
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(true);
    auto* frequencies = new QTreeWidgetItem(m_tree, {QTr(TextId::TuningFrequencies)});
    for (int i = 0; i < 3; ++i) {
        auto* item = new QTreeWidgetItem(frequencies, {QTr(kSetNames[i])});
        item->setData(0, kRoleSet, TuningModel::kHigh + i);
    }
    auto* items = new QTreeWidgetItem(m_tree, {QTr(TextId::TuningItems)});
    for (int i = 0; i < 4; ++i) {
        auto* item = new QTreeWidgetItem(items, {QTr(kItemNames[i])});
        item->setData(0, kRoleItem, 2 + i);
    }
    auto* quit = new QTreeWidgetItem(m_tree, {QTr(TextId::TuningQuit)});
    quit->setData(0, kRoleExit, true);
    frequencies->setExpanded(true);
    items->setExpanded(false);
    // Wide enough for every entry in either language, expanded or not.
    int widest = 0;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        const int depth = (*it)->parent() ? 2 : 1;
        widest =
            std::max(widest, m_tree->fontMetrics().horizontalAdvance((*it)->text(0)) + depth * m_tree->indentation());
    }
    m_tree->setFixedWidth(std::max(150, widest + 2 * m_tree->frameWidth() + 12));
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) { OnTreeSelection(item); });

    m_note = Named(new QGroupBox(QTr(TextId::TuningNote), this), 1029);
    m_frequencyPage = BuildFrequencyPage();
    m_tuningPage = BuildTuningPage();
    auto* noteLayout = new QVBoxLayout(m_note);
    noteLayout->addWidget(m_frequencyPage);
    noteLayout->addWidget(m_tuningPage);
    noteLayout->addStretch();
    m_frequencyPage->hide();
    m_tuningPage->hide();

    m_restore = Named(new QPushButton(QTr(TextId::TuningRestore), this), 1028);
    m_restore->hide();
    m_restore->setAutoDefault(false);
    connect(m_restore, &QPushButton::clicked, this, &CTuningDlg::RestoreDefaults);

    auto* right = new QVBoxLayout;
    right->addWidget(m_note, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_restore);
    right->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_tree);
    layout->addLayout(right, 1);
    resize(760, 420);
    for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
}

CTuningDlg::Side CTuningDlg::BuildSide(QGroupBox* box, int editId, int listId, int analogueId, int digitalId,
                                       int step5Id, int step625Id) {
    Side side;
    side.edit = Named(new QLineEdit(box), editId);
    side.list = Named(new QComboBox(box), listId);
    // About fifteen tones at a time, not a list the height of the screen.
    side.list->setMaxVisibleItems(kVisibleTones);
    side.list->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    side.analogue = Named(new QRadioButton(QTr(TextId::TuningAnalogue), box), analogueId);
    side.digital = Named(new QRadioButton(QTr(TextId::TuningDigital), box), digitalId);
    side.step5 = Named(new QRadioButton(QTr(TextId::TuningStep5), box), step5Id);
    side.step625 = Named(new QRadioButton(QTr(TextId::TuningStep625), box), step625Id);
    auto* kinds = new QButtonGroup(box);
    kinds->addButton(side.analogue);
    kinds->addButton(side.digital);
    auto* steps = new QButtonGroup(box);
    steps->addButton(side.step5);
    steps->addButton(side.step625);
    Fill(side.list, SignallingKind::Analogue);
    auto* grid = new QGridLayout(box);
    const bool rx = editId == 1030;
    grid->addWidget(Label(TextId::TuningFrequency, rx ? 1054 : 1055, box), 0, 0);
    grid->addWidget(side.edit, 0, 1, 1, 2);
    grid->addWidget(Label(TextId::TuningTone, rx ? 1056 : 1057, box), 1, 0);
    grid->addWidget(side.list, 1, 1, 1, 2);
    grid->addWidget(Label(TextId::TuningToneType, rx ? 1058 : 1059, box), 2, 0);
    grid->addWidget(side.analogue, 2, 1);
    grid->addWidget(side.digital, 2, 2);
    grid->addWidget(Label(TextId::TuningStep, rx ? 1062 : 1065, box), 3, 0);
    grid->addWidget(side.step5, 3, 1);
    grid->addWidget(side.step625, 3, 2);
    side.analogue->setChecked(true);
    side.step5->setChecked(true);
    connect(side.analogue, &QRadioButton::toggled, this, [this, rx](bool on) {
        if (on) OnKind(rx, SignallingKind::Analogue);
    });
    connect(side.digital, &QRadioButton::toggled, this, [this, rx](bool on) {
        if (on) OnKind(rx, SignallingKind::Digital);
    });
    connect(side.step5, &QRadioButton::toggled, this, [this, rx](bool on) {
        if (on) OnStep(rx, FrequencyStep::Khz5);
    });
    connect(side.step625, &QRadioButton::toggled, this, [this, rx](bool on) {
        if (on) OnStep(rx, FrequencyStep::Khz6_25);
    });
    connect(side.list, &QComboBox::activated, this, [this, rx](int index) { SideOf(rx).listIndex = index; });
    return side;
}

QWidget* CTuningDlg::BuildFrequencyPage() {
    auto* page = new QWidget(this);
    auto* rxBox = Named(new QGroupBox(QTr(TextId::TuningReceive), page), 1060);
    auto* txBox = Named(new QGroupBox(QTr(TextId::TuningTransmit), page), 1061);
    m_rx = BuildSide(rxBox, 1030, 1012, 1034, 1035, 1063, 1064);
    m_tx = BuildSide(txBox, 1031, 1013, 1036, 1037, 1066, 1067);
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(rxBox);
    layout->addWidget(txBox);
    return page;
}

QWidget* CTuningDlg::BuildTuningPage() {
    auto* page = new QWidget(this);
    auto* choose = Named(new QGroupBox(QTr(TextId::TuningChoose), page), 1043);
    auto* chooseLayout = new QVBoxLayout(choose);
    auto* group = new QButtonGroup(choose);
    const TextId names[] = {TextId::TuningSetHigh, TextId::TuningChooseMiddle, TextId::TuningSetLow};
    for (int i = 0; i < 3; ++i) {
        m_chooseSet[i] = Named(new QRadioButton(QTr(names[i]), choose), 1040 + i);
        group->addButton(m_chooseSet[i]);
        chooseLayout->addWidget(m_chooseSet[i]);
    }
    m_chooseSet[0]->setChecked(true);
    auto* params = Named(new QGroupBox(QTr(TextId::TuningParams), page), 1044);
    m_slider = Named(new QSlider(Qt::Horizontal, params), 1039);
    m_slider->setRange(0, 255);
    m_slider->setValue(0);
    m_position = Named(new QLabel(QTr(TextId::TuningPosition).arg(0), params), 1052);
    m_start = Named(new QPushButton(QTr(TextId::ButtonStart), params), 1038);
    m_willSend = new QLabel(params);
    m_willSend->setObjectName(QStringLiteral("willSend"));
    auto* paramsLayout = new QGridLayout(params);
    paramsLayout->addWidget(Label(TextId::TuningMin, 1049, params), 0, 0);
    paramsLayout->addWidget(m_slider, 0, 1);
    paramsLayout->addWidget(Label(TextId::TuningMax, 1051, params), 0, 2);
    paramsLayout->addWidget(m_position, 1, 1);
    paramsLayout->addWidget(m_start, 2, 1, Qt::AlignCenter);
    paramsLayout->addWidget(m_willSend, 3, 0, 1, 3, Qt::AlignCenter);
    for (QRadioButton* button : m_chooseSet) connect(button, &QRadioButton::toggled, this, &CTuningDlg::ShowWillSend);
    connect(m_slider, &QSlider::valueChanged, this, &CTuningDlg::OnSlider);
    connect(m_start, &QPushButton::clicked, this, &CTuningDlg::OnStart);
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(choose);
    layout->addWidget(params, 1);
    ShowWillSend();
    return page;
}

void CTuningDlg::ShowWillSend() { m_willSend->setText(QString::fromStdString(m_model.WillSendText(ChosenSet()))); }

int CTuningDlg::ChosenSet() const {
    for (int i = 0; i < 3; ++i)
        if (m_chooseSet[i]->isChecked()) return TuningModel::kHigh + i;
    return TuningModel::kHigh;
}

void CTuningDlg::OnTreeSelection(QTreeWidgetItem* item) {
    if (!item) return;
    if (item->data(0, kRoleExit).toBool()) {
        reject();
        return;
    }
    if (!item->parent()) return;
    if (m_frequencyShown) StoreTypedFrequencies();
    if (m_firstSelection) {
        m_firstSelection = false;
        m_restore->show();
    }
    const QVariant set = item->data(0, kRoleSet);
    m_frequencyShown = set.isValid();
    m_frequencyPage->setVisible(m_frequencyShown);
    m_tuningPage->setVisible(!m_frequencyShown);
    if (set.isValid()) {
        m_note->setTitle(item->text(0));
        ShowSet(set.toInt());
    } else {
        m_nItem = item->data(0, kRoleItem).toInt();
        ShowWillSend();
        const QSignalBlocker block(m_slider);
        m_slider->setValue(m_model.ItemValue(Item()));
        m_position->setText(QTr(TextId::TuningPosition).arg(m_model.ItemValue(Item())));
    }
}

void CTuningDlg::ShowSide(const Side& side, const SideSettings& s) {
    const QSignalBlocker b1(side.analogue), b2(side.digital), b3(side.step5), b4(side.step625);
    side.edit->setText(QString::fromStdString(UnitsToFrequencyText(s.units)));
    (s.step == FrequencyStep::Khz5 ? side.step5 : side.step625)->setChecked(true);
    (s.kind == SignallingKind::Analogue ? side.analogue : side.digital)->setChecked(true);
    Fill(side.list, s.kind);
    side.list->setCurrentIndex(s.listIndex);
}

void CTuningDlg::ShowSet(int set) {
    m_nFreqSet = set;
    ShowSide(m_rx, m_model.Set(set).rx);
    ShowSide(m_tx, m_model.Set(set).tx);
}

void CTuningDlg::OnKind(bool rx, SignallingKind kind) {
    SideOf(rx).ChooseKind(kind);
    Fill(rx ? m_rx.list : m_tx.list, kind);
}

void CTuningDlg::OnStep(bool rx, FrequencyStep step) { SideOf(rx).step = step; }

void CTuningDlg::OnSlider(int value) {
    m_position->setText(QTr(TextId::TuningPosition).arg(value));
    m_model.SetItemValue(Item(), value);
}

void CTuningDlg::RestoreDefaults() {
    const TuningPage shown = m_tuningPage->isVisible()      ? TuningPage::Item
                             : m_frequencyPage->isVisible() ? TuningPage::FrequencySet
                                                            : TuningPage::None;
    if (const std::optional<TextId> warning = m_model.RestoreDefaults(shown, m_nFreqSet, Item())) {
        Messenger::Show(this, QTr(*warning), Buttons::Ok, MessageIcon::Warning);
        return;
    }
    if (shown == TuningPage::Item) {
        const int value = m_model.ItemValue(Item());
        m_slider->setValue(value);
        m_position->setText(QTr(TextId::TuningPosition).arg(value));
    } else {
        ShowSet(m_nFreqSet);
    }
}

void CTuningDlg::NormaliseEdit(bool rx) {
    const Side& side = rx ? m_rx : m_tx;
    SideSettings& settings = SideOf(rx);
    settings.units = m_model.Normalise(side.edit->text().toStdString(), settings.step);
    side.edit->setText(QString::fromStdString(UnitsToFrequencyText(settings.units)));
}

void CTuningDlg::StoreTypedFrequencies() {
    NormaliseEdit(true);
    NormaliseEdit(false);
}

void CTuningDlg::OnStart() {
    if (IsExchangeRunning()) return;
    if (m_frequencyShown) StoreTypedFrequencies();
    m_focusBeforeExchange = focusWidget();
    setEnabled(false);
    Runner().StartTuning(m_strPort, m_model.Request(ChosenSet(), Item()));
}

void CTuningDlg::reject() {
    if (!IsExchangeRunning()) QDialog::reject();
}

bool CTuningDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == m_rx.edit || watched == m_tx.edit) {
                NormaliseEdit(watched == m_rx.edit);
                focusNextChild();
            } else if (auto* button = qobject_cast<QPushButton*>(watched)) {
                button->click();
            } else {
                focusNextChild();
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
