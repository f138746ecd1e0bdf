#pragma once
// The widget-test fixture with an active window and real key and mouse
// events on the channel grid.
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "editor/CellEditors.h"
#include "support/GuiFixture.h"

class CellEditing : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        Frame()->resize(1000, 800);
        Frame()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Frame()));
    }
    CCellEditors* Editors() const { return View()->Editors(); }
    void Band(int index) { View()->m_cbBand->setCurrentIndex(index); }
    void Click(int row, int col, Qt::MouseButton button = Qt::LeftButton) {
        Grid()->scrollToItem(Grid()->item(row - 1, col - 1));
        const QRect r = Grid()->visualItemRect(Grid()->item(row - 1, col - 1));
        QTest::mouseClick(Grid()->viewport(), button, {}, r.center());
    }
    static QWidget* Focus() { return QApplication::focusWidget(); }
    void Type(const QString& text) { QTest::keyClicks(Focus(), text); }
    void Enter() { QTest::keyClick(Focus(), Qt::Key_Return); }
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
        ASSERT_EQ(Focus(), Editors()->m_editFreq);
        if (text.isEmpty())
            QTest::keyClick(Focus(), Qt::Key_Delete);
        else
            Type(text);
        Enter();
        QTest::keyClick(Focus(), Qt::Key_Escape);
    }
};
