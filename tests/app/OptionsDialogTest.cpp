// The options dialog with real keys on its controls.
#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <map>

#include "res/ResourceIds.h"
#include "settings/OptionsDlg.h"
#include "support/GuiFixture.h"

namespace {

class OptionsDialog : public GuiTest {
protected:
    template <typename T>
    static T* Control(QWidget* dialog, int id) {
        T* control = dialog->findChild<T*>(QString::number(id));
        EXPECT_NE(control, nullptr) << id;
        return control;
    }
    // Opens the dialog through command 32784 and runs `work` inside it.
    void RunDialog(const std::function<void(QDialog*)>& work) {
        QTimer::singleShot(0, [work] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            work(dialog);
            if (dialog->isVisible()) dialog->reject();
        });
        Trigger(ids::ID_OPTIONS);
    }
};

}  // namespace

TEST_F(OptionsDialog, ShowsTheNewDocumentAndOkChangesNothing) {
    const RadioImage before = View()->ImageForSave();
    RunDialog([](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "可选功能");
        EXPECT_EQ(Control<QLineEdit>(d, 1013)->text(), "60");
        EXPECT_EQ(Control<QComboBox>(d, 1016)->currentText(), "4");
        EXPECT_TRUE(Control<QCheckBox>(d, 1074)->isChecked());
        EXPECT_TRUE(Control<QCheckBox>(d, 1075)->isChecked());
        EXPECT_TRUE(Control<QCheckBox>(d, 1090)->isChecked());
        EXPECT_EQ(Control<QComboBox>(d, 1079)->currentText(), "中文");
        EXPECT_EQ(Control<QComboBox>(d, 1077)->currentText(), "9");
        EXPECT_EQ(Control<QComboBox>(d, 1078)->currentText(), "0.3");
        EXPECT_FALSE(Control<QCheckBox>(d, 1100)->isChecked());
        EXPECT_FALSE(Control<QCheckBox>(d, 1101)->isChecked());
        EXPECT_TRUE(Control<QLineEdit>(d, 1080)->text().isEmpty());
        EXPECT_TRUE(Control<QLineEdit>(d, 1081)->text().isEmpty());
        EXPECT_FALSE(Control<QCheckBox>(d, 1076)->isVisible());
        EXPECT_FALSE(Control<QCheckBox>(d, 1084)->isEnabled());
        QTest::mouseClick(Control<QPushButton>(d, 1), Qt::LeftButton);
    });
    EXPECT_EQ(View()->ImageForSave(), before);
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(OptionsDialog, TypedRadioNameIsStoredInUpperCase) {
    const RadioImage before = View()->ImageForSave();
    RunDialog([](QDialog* d) {
        QLineEdit* name = Control<QLineEdit>(d, 1081);
        name->setFocus();
        QTest::keyClicks(name, "abc9");
        EXPECT_EQ(name->text(), "ABC9");
        // Keys other than letters, digits and Backspace put nothing in here.
        for (Qt::Key key : {Qt::Key_Left, Qt::Key_Home, Qt::Key_Delete}) QTest::keyClick(name, key);
        QTest::keyClicks(name, "-");
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(name->text(), "ABC9");
        EXPECT_EQ(name->cursorPosition(), 4);
        QTest::keyClick(name, Qt::Key_Backspace);
        QTest::keyClicks(name, "9x");  // the limit of six characters
        QTest::keyClicks(name, "yz");
        EXPECT_EQ(name->text(), "ABC9XY");
        QTest::keyClick(name, Qt::Key_Backspace);
        QTest::keyClick(name, Qt::Key_Backspace);
        QTest::mouseClick(Control<QPushButton>(d, 1), Qt::LeftButton);
    });
    const std::uint8_t expected[] = {0x41, 0x42, 0x43, 0x39};
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_EQ(View()->ImageForSave()[addr::kRadioName + i], i < 4 ? expected[i] : 0xFF) << i;
    EXPECT_TRUE(Doc()->IsModified());
    const RadioImage after = View()->ImageForSave();
    // OK is one step of the undo history.
    Trigger(ids::ID_EDIT_UNDO);
    EXPECT_EQ(View()->ImageForSave(), before);
    EXPECT_FALSE(Doc()->IsModified());
    Trigger(ids::ID_EDIT_REDO);
    EXPECT_EQ(View()->ImageForSave(), after);
}

TEST_F(OptionsDialog, TimerSpinStepsThirtySeconds) {
    RadioImage image = NewDocumentImage();
    image[addr::kTimer] = 9;
    OpenImage(image);
    RunDialog([](QDialog* d) {
        QLineEdit* timer = Control<QLineEdit>(d, 1013);
        EXPECT_EQ(timer->text(), "270");
        QSpinBox* spin = Control<QSpinBox>(d, 1089);
        spin->setFocus();
        QTest::keyClick(spin, Qt::Key_Up);  // no wrap
        EXPECT_EQ(timer->text(), "270");
        QTest::keyClick(spin, Qt::Key_Down);
        EXPECT_EQ(timer->text(), "240");
        for (int i = 0; i < 9; ++i) QTest::keyClick(spin, Qt::Key_Down);
        EXPECT_EQ(timer->text(), "OFF");
        QTest::keyClicks(timer, "120");  // typed text is never read
        QTest::mouseClick(Control<QPushButton>(d, 1), Qt::LeftButton);
    });
    EXPECT_EQ(View()->ImageForSave()[addr::kTimer], 0);
}

TEST_F(OptionsDialog, CancelAfterChangesLeavesTheImageUntouched) {
    const RadioImage before = View()->ImageForSave();
    RunDialog([](QDialog* d) {
        Control<QCheckBox>(d, 1075)->setChecked(false);
        Control<QComboBox>(d, 1016)->setCurrentIndex(9);
        QTest::keyClicks(Control<QLineEdit>(d, 1080), "12");
        QTest::mouseClick(Control<QPushButton>(d, 2), Qt::LeftButton);
    });
    EXPECT_EQ(View()->ImageForSave(), before);
    RunDialog([](QDialog* d) {
        Control<QCheckBox>(d, 1074)->setChecked(false);
        QTest::keyClick(d, Qt::Key_Escape);
    });
    EXPECT_EQ(View()->ImageForSave(), before);
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(OptionsDialog, AniTakesDigitsAndKeepsLongTextsFromTheRadio) {
    const std::uint8_t ani[] = {'A', 'B', 'C', 'D', 'E', 'F', 'A'};
    RadioImage image = NewDocumentImage();
    std::copy(std::begin(ani), std::end(ani), image.begin() + addr::kAni);
    OpenImage(image);
    RunDialog([](QDialog* d) {
        QLineEdit* edit = Control<QLineEdit>(d, 1080);
        EXPECT_EQ(edit->text(), "ABCDEFA");
        edit->clear();
        edit->setFocus();
        QTest::keyClicks(edit, "1a2b3");
        EXPECT_EQ(edit->text(), "123");
        QTest::mouseClick(Control<QPushButton>(d, 1), Qt::LeftButton);
    });
    EXPECT_EQ(View()->ImageForSave()[addr::kAni], '1');
    EXPECT_EQ(View()->ImageForSave()[addr::kAni + 3], 0xFF);
    // Bit 7 of 0x812, the form's manual setting, survives.
    EXPECT_EQ(View()->ImageForSave()[addr::kFunctions] & 0x80, 0x80);
}

TEST_F(OptionsDialog, PastedTextsKeepWhatTheFieldsTakeAndTheKeyboardLeavesTheName) {
    RunDialog([](QDialog* d) {
        QLineEdit* ani = Control<QLineEdit>(d, 1080);
        QLineEdit* name = Control<QLineEdit>(d, 1081);
        QApplication::clipboard()->setText(QStringLiteral("OST1"));
        ani->setFocus();
        QTest::keyClick(ani, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(ani->text(), "1");
        // What is left out takes no room: the field's length counts what is kept.
        QApplication::clipboard()->setText(QStringLiteral("a1b2c3d4"));
        QTest::keyClick(ani, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(ani, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(ani->text(), "1234");
        QApplication::clipboard()->setText(QStringLiteral("ab-c "));
        name->setFocus();
        QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(name->text(), "ABC");
        // Tab goes on from the name, and back; Enter there presses OK.
        QTest::keyClick(name, Qt::Key_Tab);
        EXPECT_NE(d->focusWidget(), name);
        QTest::keyClick(d->focusWidget(), Qt::Key_Backtab);
        EXPECT_EQ(d->focusWidget(), name);
        QTest::keyClick(name, Qt::Key_Return);
        EXPECT_FALSE(d->isVisible());
    });
    const std::uint8_t name[] = {0x41, 0x42, 0x43};
    for (std::size_t i = 0; i < 16; ++i) {
        EXPECT_EQ(View()->ImageForSave()[addr::kAni + i], i < 4 ? '1' + i : 0xFF) << i;
        EXPECT_EQ(View()->ImageForSave()[addr::kRadioName + i], i < 3 ? name[i] : 0xFF) << i;
    }
}

TEST_F(OptionsDialog, ATypedTextNamingNoEntryGivesWayToTheChosenEntry) {
    RunDialog([](QDialog* d) {
        d->activateWindow();  // the text is left when the focus leaves it
        ASSERT_TRUE(QTest::qWaitForWindowActive(d));
        QComboBox* squelch = Control<QComboBox>(d, 1016);
        QComboBox* gain = Control<QComboBox>(d, 1077);
        QTest::mouseDClick(squelch->lineEdit(), Qt::LeftButton);
        QTest::keyClicks(squelch->lineEdit(), "x");
        QTest::keyClick(squelch->lineEdit(), Qt::Key_Tab);
        EXPECT_EQ(squelch->currentText(), "4");
        QTest::mouseDClick(gain->lineEdit(), Qt::LeftButton);
        QTest::keyClicks(gain->lineEdit(), "7");  // an entry: chosen
        QTest::keyClick(gain->lineEdit(), Qt::Key_Tab);
        EXPECT_EQ(gain->currentText(), "7");
        // A key that would name no entry is refused: "12" stays "1", and
        // Return (OK) stores the 1 the box shows, as the page's list does.
        QTest::mouseDClick(gain->lineEdit(), Qt::LeftButton);
        QTest::keyClicks(gain->lineEdit(), "12");
        EXPECT_EQ(gain->lineEdit()->text(), "1");
        QTest::keyClick(gain->lineEdit(), Qt::Key_Return);
        EXPECT_FALSE(d->isVisible());
    });
    EXPECT_EQ(View()->ImageForSave()[addr::kSquelch], 4);
    EXPECT_EQ(View()->ImageForSave()[addr::kVoxGain], 1);
}

// A screen reader names each field by the caption beside it (on Linux, the
// caption is the field's "labelled by" relation).
TEST_F(OptionsDialog, EachFieldIsLabelledByItsCaption) {
    std::map<int, QString> captions;
    RunDialog([&](QDialog* d) {
        for (int id : {1089, 1016, 1079, 1077, 1078, 1080, 1081}) {
            QAccessibleInterface* field = QAccessible::queryAccessibleInterface(Control<QWidget>(d, id));
            ASSERT_NE(field, nullptr) << id;
            const auto labels = field->relations(QAccessible::Label);
            if (!labels.isEmpty()) captions[id] = labels.first().first->text(QAccessible::Name);
        }
    });
    EXPECT_EQ(captions[1089], "发射定时(秒)");
    EXPECT_EQ(captions[1016], "静噪等级(SQ)");
    EXPECT_EQ(captions[1080], "ANI");
    EXPECT_EQ(captions.size(), 7u);
}
