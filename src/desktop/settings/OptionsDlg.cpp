#include "settings/OptionsDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QValidator>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "ui/DialogFrame.h"
#include "res/CommandTable.h"
#include "res/QtText.h"
#include "res/ResourceIds.h"

namespace {

// The transmit timer: positions 0-9 shown as "OFF", 30 .. 270 seconds.
class TimerSpin : public QSpinBox {
public:
    explicit TimerSpin(QWidget* parent) : QSpinBox(parent) {
        setRange(0, 9);
        setWrapping(false);
        lineEdit()->setReadOnly(true);  // the value comes from the arrows only
    }

protected:
    QString textFromValue(int value) const override { return QString::fromStdString(TimerText(value)); }
    int valueFromText(const QString&) const override { return value(); }
    QValidator::State validate(QString&, int&) const override { return QValidator::Acceptable; }
};

template <std::size_t N>
QComboBox* Combo(int id, const std::array<std::string, N>& items, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::number(id));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& item : items) combo->addItem(QString::fromStdString(item));
    return combo;
}

// A field's caption, which also names the field to screen readers.
QLabel* Caption(const QString& text, QWidget* field) {
    auto* label = new QLabel(text, field->parentWidget());
    label->setBuddy(field);
    return label;
}

QCheckBox* Check(int id, TextId text, QWidget* parent) {
    auto* box = new QCheckBox(QTr(text), parent);
    box->setObjectName(QString::number(id));
    return box;
}

QLineEdit* Edit(int id, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::number(id));
    return edit;
}

bool IsLetterOrDigitKey(int key) {
    return (key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9);
}

// Whatever an edit puts into `edit` (keys, a paste, a dropped text), the
// field keeps only what it takes, in upper case.
void KeepOnlyWhatItTakes(QLineEdit* edit, OptionsText field) {
    auto shown = std::make_shared<QString>(edit->text());
    const std::size_t loaded = edit->text().toStdString().size();
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, field, shown, loaded](const QString& text) {
        const OptionsTextEdit kept = KeepTaken(field, loaded, shown->toStdString(), text.toStdString());
        *shown = QString::fromStdString(kept.text);
        if (*shown == text) return;
        edit->setText(*shown);
        edit->setCursorPosition(static_cast<int>(kept.caret));
    });
}

// A list's text takes only what begins one of its entries (any case): a key
// that would make a text naming none is refused as it is typed, so what the
// box shows is what OK stores.
class EntryStartValidator : public QValidator {
public:
    explicit EntryStartValidator(QComboBox* combo) : QValidator(combo), m_combo(combo) {}
    State validate(QString& text, int&) const override {
        for (int i = 0; i < m_combo->count(); ++i) {
            const QString entry = m_combo->itemText(i);
            if (entry.compare(text, Qt::CaseInsensitive) == 0) return Acceptable;
            if (entry.startsWith(text, Qt::CaseInsensitive)) return Intermediate;
        }
        return Invalid;
    }

private:
    QComboBox* m_combo;
};

// A list's text that names none of its entries goes back to the chosen entry
// when the text is left: only the chosen entry is ever stored.
void ShowChosenWhenLeft(QComboBox* combo) {
    combo->setValidator(new EntryStartValidator(combo));
    QObject::connect(combo->lineEdit(), &QLineEdit::editingFinished, combo, [combo] {
        const QString chosen = combo->itemText(combo->currentIndex());
        if (combo->lineEdit()->text() != chosen) combo->setEditText(chosen);
    });
}

}  // namespace

COptionsDlg::COptionsDlg(RadioImage& image, QWidget* parent) : QDialog(parent), m_image(image) {
    setObjectName(QString::number(ids::IDD_OPTIONS));
    setWindowTitle(QString::fromStdString(CommandLabel(Tr(TextId::CmdOptions))));
    ShowCloseButtonOnly(this);
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSize(9);
    setFont(font);

    auto* radio = new QGroupBox(QTr(TextId::OptRadioGroup), this);
    m_spinTimer = new TimerSpin(radio);
    m_spinTimer->setObjectName(QStringLiteral("1089"));
    m_editTimer = m_spinTimer->findChild<QLineEdit*>();
    m_editTimer->setObjectName(QStringLiteral("1013"));
    m_editTimer->setMaxLength(10);
    m_cbSquelch = Combo(1016, SquelchTexts(), radio);
    m_cbLanguage = Combo(1079, LanguageTexts(), radio);
    m_chkAlarm = Check(1074, TextId::LabelAlarm, radio);
    m_chkBattery = Check(1090, TextId::LabelBattery, radio);
    m_chkScrambler = Check(1075, TextId::LabelScrambler, radio);
    auto* radioLayout = new QGridLayout(radio);
    radioLayout->addWidget(Caption(QTr(TextId::LabelTimer), m_spinTimer), 0, 0);
    radioLayout->addWidget(m_spinTimer, 0, 1);
    radioLayout->addWidget(Caption(QTr(TextId::LabelSquelch), m_cbSquelch), 1, 0);
    radioLayout->addWidget(m_cbSquelch, 1, 1);
    radioLayout->addWidget(Caption(QTr(TextId::LabelVoice), m_cbLanguage), 2, 0);
    radioLayout->addWidget(m_cbLanguage, 2, 1);
    radioLayout->addWidget(m_chkAlarm, 3, 0);
    radioLayout->addWidget(m_chkBattery, 3, 1);
    radioLayout->addWidget(m_chkScrambler, 4, 0);

    auto* vox = new QGroupBox(QTr(TextId::OptVoxGroup), this);
    m_chkVox = Check(1076, TextId::OptVox, vox);
    m_chkVoxRx = Check(1084, TextId::OptVoxInhibit, vox);
    for (QCheckBox* hidden : {m_chkVox, m_chkVoxRx}) {
        hidden->setEnabled(false);
        hidden->hide();
    }
    m_cbVoxGain = Combo(1077, VoxGainTexts(), vox);
    m_cbVoxDelay = Combo(1078, VoxDelayTexts(), vox);
    auto* voxLayout = new QGridLayout(vox);
    voxLayout->addWidget(Caption(QTr(TextId::LabelVoxGain), m_cbVoxGain), 0, 0);
    voxLayout->addWidget(m_cbVoxGain, 0, 1);
    voxLayout->addWidget(Caption(QTr(TextId::LabelVoxDelay), m_cbVoxDelay), 1, 0);
    voxLayout->addWidget(m_cbVoxDelay, 1, 1);

    auto* ptt = new QGroupBox(QStringLiteral("PTT ID"), this);
    m_editAni = Edit(1080, ptt);
    m_editName = Edit(1081, ptt);
    m_chkBot = Check(1100, TextId::OptBot, ptt);
    m_chkEot = Check(1101, TextId::OptEot, ptt);
    auto* line = new QFrame(ptt);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto* pttLayout = new QGridLayout(ptt);
    pttLayout->addWidget(Caption(QStringLiteral("ANI"), m_editAni), 0, 0);
    pttLayout->addWidget(m_editAni, 0, 1);
    pttLayout->addWidget(m_chkBot, 0, 2);
    pttLayout->addWidget(line, 1, 0, 1, 3);
    pttLayout->addWidget(Caption(QTr(TextId::LabelRadioName), m_editName), 2, 0);
    pttLayout->addWidget(m_editName, 2, 1);
    pttLayout->addWidget(m_chkEot, 2, 2);
    m_editAni->installEventFilter(this);
    m_editName->installEventFilter(this);

    auto* ok = new QPushButton(QTr(TextId::ButtonOk), this);
    ok->setObjectName(QStringLiteral("1"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QTr(TextId::ButtonCancel), this);
    cancel->setObjectName(QStringLiteral("2"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QGridLayout(this);
    layout->addWidget(radio, 0, 0);
    layout->addWidget(vox, 0, 1);
    layout->addWidget(ptt, 1, 0);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addSpacing(40);
    buttons->addWidget(cancel);
    buttons->addStretch();
    layout->addLayout(buttons, 2, 0, 1, 2);
    FixSize(this);

    Load(DecodeOptions(m_image));
    KeepOnlyWhatItTakes(m_editAni, OptionsText::Ani);
    KeepOnlyWhatItTakes(m_editName, OptionsText::RadioName);
    for (QComboBox* combo : {m_cbSquelch, m_cbVoxGain, m_cbVoxDelay, m_cbLanguage}) ShowChosenWhenLeft(combo);
}

void COptionsDlg::Load(const OptionsValues& v) {
    m_spinTimer->setValue(v.timerPosition);
    m_cbSquelch->setCurrentIndex(v.squelch);
    m_cbVoxGain->setCurrentIndex(v.voxGain);
    m_cbVoxDelay->setCurrentIndex(v.voxDelay);
    m_cbLanguage->setCurrentIndex(v.language);
    m_chkAlarm->setChecked(v.alarmTone);
    m_chkScrambler->setChecked(v.scrambler);
    m_chkBattery->setChecked(v.batterySave);
    m_chkVox->setChecked(false);
    m_chkVoxRx->setChecked(false);
    m_chkBot->setChecked(v.bot);
    m_chkEot->setChecked(v.eot);
    // No length limit of the fields' own: a paste would be cut before what
    // the field does not take is left out. KeepOnlyWhatItTakes keeps the lengths.
    m_editAni->setText(QString::fromStdString(v.ani));
    m_editName->setText(QString::fromStdString(v.radioName));
}

OptionsValues COptionsDlg::Values() const {
    OptionsValues v;
    v.timerPosition = m_spinTimer->value();
    v.squelch = std::max(0, m_cbSquelch->currentIndex());
    v.voxGain = std::max(0, m_cbVoxGain->currentIndex());
    v.voxDelay = std::max(0, m_cbVoxDelay->currentIndex());
    v.language = std::max(0, m_cbLanguage->currentIndex());
    v.alarmTone = m_chkAlarm->isChecked();
    v.scrambler = m_chkScrambler->isChecked();
    v.batterySave = m_chkBattery->isChecked();
    v.voxFunction = m_chkVox->isChecked();
    v.voxInhibitOnRx = m_chkVoxRx->isChecked();
    v.bot = m_chkBot->isChecked();
    v.eot = m_chkEot->isChecked();
    v.ani = m_editAni->text().toStdString();
    v.radioName = m_editName->text().toStdString();
    return v;
}

void COptionsDlg::accept() {
    EncodeOptions(Values(), m_image);
    QDialog::accept();
}

bool COptionsDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == m_editName) {
        // Only letters, digits and Backspace reach the radio name; a letter
        // with Ctrl keeps the field's own shortcuts (Ctrl+V pastes). Tab,
        // Enter and Esc still do what they do in the dialog, so the keyboard
        // is never trapped here.
        switch (key->key()) {
            case Qt::Key_Backspace:
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_Escape: return false;
            default: return !IsLetterOrDigitKey(key->key());
        }
    }
    if (watched == m_editAni) {
        // A typed character the ANI does not take leaves the text, and what is
        // selected in it, as it was.
        const QString text = key->text();
        const bool printable = text.size() == 1 && text[0].isPrint() && !(key->modifiers() & Qt::ControlModifier);
        if (printable && !OptionsTextTakes(OptionsText::Ani, text[0].unicode())) return true;
    }
    return QDialog::eventFilter(watched, event);
}
