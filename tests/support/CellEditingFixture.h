#pragma once
// The widget-test fixture with an active window and real key and mouse
// events on the channel grid.
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "support/GuiFixture.h"

class CellEditing : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        Frame()->resize(1000, 800);
        Frame()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Frame()));
    }
    QWidget* Editor() const { return Grid()->OpenEditor(); }
    QLineEdit* FrequencyEditor() const { return qobject_cast<QLineEdit*>(Editor()); }
    QComboBox* ComboEditor() const { return qobject_cast<QComboBox*>(Editor()); }
    void Band(int index) { View()->m_cbBand->setCurrentIndex(index); }
    QPoint CellCentre(int row, int col) const {
        Grid()->scrollTo(Grid()->model()->index(row - 1, col - 1));
        return Grid()->CellRect(row, col).center();
    }
    void Click(int row, int col, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(Grid()->viewport(), button, {}, CellCentre(row, col));
    }
    // Through the window, so that each press goes to what is under the
    // pointer by then: the second to the editor the first one opened.
    void DoubleClick(int row, int col) {
        QWidget* window = Grid()->window();
        QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {},
                           Grid()->viewport()->mapTo(window, CellCentre(row, col)));
    }
    static QWidget* Focus() { return QApplication::focusWidget(); }
    void Type(const QString& text) { QTest::keyClicks(Focus(), text); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(Focus(), key, modifiers);
    }
    void Enter() { Key(Qt::Key_Return); }
    // Chooses `entry` in the open list as a person does with the keys: F4
    // drops the list down, the arrows move in it, Enter takes the entry.
    void Choose(const QString& entry) {
        QComboBox* list = ComboEditor();
        ASSERT_TRUE(list);
        const int target = list->findText(entry);
        ASSERT_GE(target, 0) << entry.toStdString();
        Key(Qt::Key_F4);
        ASSERT_TRUE(QTest::qWaitFor([&] { return list->view()->isVisible(); }));
        QWidget* dropDown = list->view();
        while (list->view()->currentIndex().row() < target) QTest::keyClick(dropDown, Qt::Key_Down);
        while (list->view()->currentIndex().row() > target) QTest::keyClick(dropDown, Qt::Key_Up);
        QTest::keyClick(dropDown, Qt::Key_Return);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !list->view()->isVisible(); }));
        ASSERT_EQ(list->currentIndex(), target);
    }
    QString Cell(int row, int col) const { return Grid()->TextMatrix(row, col); }
    QStringList Row(int row) const {
        QStringList texts;
        for (int c = 1; c <= 10; ++c) texts << Cell(row, c);
        return texts;
    }
    QStringList MessageTexts() const {
        QStringList texts;
        for (const MessageRequest& m : messages) texts << m.text;
        return texts;
    }
    // Types a frequency over the text of (row, col), confirms it with Enter,
    // then abandons the next cell's editor that Enter opened.
    void EnterFrequency(int row, int col, const QString& text) {
        Click(row, col);
        ASSERT_TRUE(FrequencyEditor());
        ASSERT_EQ(Focus(), FrequencyEditor());
        if (text.isEmpty())
            Key(Qt::Key_Delete);
        else
            Type(text);
        Enter();
        Key(Qt::Key_Escape);
    }
};
