// Print preview and direct printing from the window.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QGraphicsItem>
#include <QGraphicsView>
#include <QTest>
#include <QPrintPreviewWidget>
#include <QDialog>
#include <QSet>
#include <QToolButton>
#include <QToolBar>
#include <QPrinter>
#include <QProcess>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include "print/PrintCommands.h"
#include "res/ResourceIds.h"
#include "support/CellEditingFixture.h"
#include "support/WithModal.h"

TEST_F(GuiTest, PrintPreviewShowsFivePagesTwoAcross) {
    for (int id : {ids::ID_FILE_PRINT, ids::ID_FILE_PRINT_PREVIEW, ids::ID_FILE_PRINT_SETUP})
        EXPECT_TRUE(Frame()->Action(id)->isEnabled()) << id;
    int pages = -1;
    QList<QRect> shown;  // where each page lies in the window, in reading order
    QRect viewport;
    QString closeTip, closeTool;
    bool movedByKey = false, printWindow = false;
    QStringList unreachable;
    QTimer::singleShot(0, [&] {
        QWidget* preview = QApplication::activeModalWidget();
        ASSERT_NE(preview, nullptr);
        auto* widget = preview->findChild<QPrintPreviewWidget*>();
        ASSERT_NE(widget, nullptr);
        ASSERT_TRUE(QTest::qWaitFor([&] { return widget->pageCount() > 0; }, 5000));
        pages = widget->pageCount();
        auto* view = widget->findChild<QGraphicsView*>();
        ASSERT_NE(view, nullptr);
        QList<QGraphicsItem*> items;
        for (QGraphicsItem* item : view->scene()->items())
            if (!item->parentItem()) items << item;
        // The keyboard moves through the pages at once.
        const int top = view->verticalScrollBar()->value();
        QTest::keyClick(preview->focusWidget(), Qt::Key_PageDown);
        movedByKey = view->verticalScrollBar()->value() > top;
        QTest::keyClick(preview->focusWidget(), Qt::Key_PageUp);
        // Tab reaches every button of the window, and Ctrl+P prints from
        // there: the printing's own window opens (and is left with Cancel).
        QSet<QWidget*> reached;
        for (int i = 0; i < 60; ++i) {
            QTest::keyClick(preview->focusWidget(), Qt::Key_Tab);
            reached << preview->focusWidget();
        }
        auto* toolbar = preview->findChild<QToolBar*>();
        for (QAction* action : toolbar->actions())
            if (auto* button = qobject_cast<QToolButton*>(toolbar->widgetForAction(action));
                button && button->isEnabled() && button->isVisible() && !reached.contains(button))
                unreachable << action->text();
        preview->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(preview));
        QTimer::singleShot(0, [&] {
            if (auto* printing = qobject_cast<QDialog*>(QApplication::activeModalWidget()); printing != preview) {
                printWindow = printing != nullptr;
                if (printing) printing->reject();
            }
        });
        QTest::keyClick(preview->focusWidget(), Qt::Key_P, Qt::ControlModifier);
        std::sort(items.begin(), items.end(), [](QGraphicsItem* a, QGraphicsItem* b) {
            return a->pos().y() != b->pos().y() ? a->pos().y() < b->pos().y() : a->pos().x() < b->pos().x();
        });
        for (QGraphicsItem* item : items) shown << view->mapFromScene(item->sceneBoundingRect()).boundingRect();
        viewport = view->viewport()->rect();
        QAction* close = preview->findChild<QAction*>("closePreview");
        ASSERT_NE(close, nullptr);
        closeTip = close->statusTip();
        closeTool = close->toolTip();
        close->trigger();
    });
    Trigger(ids::ID_FILE_PRINT_PREVIEW);
    EXPECT_EQ(pages, 5);
    EXPECT_TRUE(movedByKey);
    EXPECT_TRUE(unreachable.isEmpty()) << unreachable.join(", ").toStdString();
    EXPECT_TRUE(printWindow);
    // Pages 1 and 2 side by side, both in view at the top; then 3 and 4, then 5.
    ASSERT_EQ(shown.size(), 5);
    EXPECT_EQ(shown[0].top(), shown[1].top());
    EXPECT_LT(shown[0].right(), shown[1].left() + 2);
    EXPECT_GT(shown[2].top(), shown[0].bottom() - 2);
    EXPECT_EQ(shown[2].left(), shown[0].left());
    EXPECT_EQ(shown[4].left(), shown[0].left());
    EXPECT_GE(shown[0].left(), viewport.left() - 2);
    EXPECT_LE(shown[1].right(), viewport.right() + 2);
    EXPECT_LT(shown[0].top(), viewport.bottom());
    EXPECT_EQ(closeTip, "关闭打印预览模式");
    EXPECT_EQ(closeTool, "取消预阅");
}

TEST_F(GuiTest, PrintPreviewFitsLandscapePagesAndZoomsByKeysAndWheel) {
    WithModal([&] { Trigger(ids::ID_FILE_PRINT_SETUP); },
              [](QWidget* setup) {
                  auto* landscape = setup->findChild<QRadioButton*>("landscape");
                  ASSERT_NE(landscape, nullptr);
                  QTest::mouseClick(landscape, Qt::LeftButton, {}, QPoint(6, 6));
                  ASSERT_TRUE(landscape->isChecked());
                  QTest::keyClick(setup, Qt::Key_Return);
              });
    QList<QRect> shown;
    QRect viewport;
    qreal fitted = 0, zoomedIn = 0, wheeledOut = 0;
    QString zoomBox;
    bool overviewShown = false, fitButtonsOff = false, endAtBottom = false, homeAtTop = false;
    WithModal([&] { Trigger(ids::ID_FILE_PRINT_PREVIEW); },
              [&](QWidget* preview) {
                  auto* widget = preview->findChild<QPrintPreviewWidget*>();
                  ASSERT_NE(widget, nullptr);
                  ASSERT_TRUE(QTest::qWaitFor([&] { return widget->pageCount() > 0; }, 5000));
                  auto* view = widget->findChild<QGraphicsView*>();
                  QList<QGraphicsItem*> items;
                  for (QGraphicsItem* item : view->scene()->items())
                      if (!item->parentItem()) items << item;
                  for (QGraphicsItem* item : items)
                      shown << view->mapFromScene(item->sceneBoundingRect()).boundingRect();
                  std::sort(shown.begin(), shown.end(), [](const QRect& a, const QRect& b) {
                      return a.top() != b.top() ? a.top() < b.top() : a.left() < b.left();
                  });
                  viewport = view->viewport()->rect();
                  overviewShown = preview->findChild<QAction*>("overviewModeAction")->isChecked();
                  fitButtonsOff = !preview->findChild<QAction*>("fitWidthAction")->isEnabled();
                  fitted = widget->zoomFactor();
                  QTest::keyClick(view, Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier);
                  zoomedIn = widget->zoomFactor();
                  const QPoint at = view->viewport()->rect().center();
                  QWheelEvent wheel(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                                    Qt::ControlModifier, Qt::NoScrollPhase, false);
                  QApplication::sendEvent(view->viewport(), &wheel);
                  QApplication::sendEvent(view->viewport(), &wheel);
                  wheeledOut = widget->zoomFactor();
                  zoomBox = preview->findChild<QComboBox*>()->currentText();
                  QTest::keyClick(view, Qt::Key_End);
                  endAtBottom = view->verticalScrollBar()->value() == view->verticalScrollBar()->maximum();
                  QTest::keyClick(view, Qt::Key_Home);
                  homeAtTop = view->verticalScrollBar()->value() == view->verticalScrollBar()->minimum();
              });
    // Landscape pages two across, filling the window's width, not a corner
    // of one page at a zoom left from before.
    ASSERT_EQ(shown.size(), 5);
    EXPECT_EQ(shown[0].top(), shown[1].top());
    EXPECT_GT(shown[0].width(), shown[0].height());
    EXPECT_LE(std::abs(shown[0].left() - viewport.left()), 2);
    EXPECT_LE(std::abs(shown[1].right() - viewport.right()), 2);
    EXPECT_TRUE(overviewShown);
    EXPECT_TRUE(fitButtonsOff);
    EXPECT_GT(zoomedIn, fitted);
    EXPECT_LT(wheeledOut, zoomedIn);
    EXPECT_EQ(zoomBox, QString::asprintf("%.1f%%", wheeledOut * 100));
    EXPECT_TRUE(endAtBottom);
    EXPECT_TRUE(homeAtTop);
}

namespace {

QString PdfPageText(const QString& pdf, int page) {
    QProcess text;
    text.start("pdftotext", {"-layout", "-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
    text.waitForFinished(10000);
    return QString::fromUtf8(text.readAllStandardOutput());
}

// A field of the PDF's information ("Pages", "Title").
QString PdfInfo(const QString& pdf, const QString& field) {
    QProcess info;
    info.start("pdfinfo", {pdf});
    info.waitForFinished(10000);
    const QRegularExpression value(QRegularExpression::escape(field) + ":\\s+([^\\n]*)");
    return value.match(QString::fromUtf8(info.readAllStandardOutput())).captured(1).trimmed();
}

int PdfPages(const QString& pdf) { return PdfInfo(pdf, "Pages").toInt(); }

// Types `text` over what a spin box holds.
void TypeOver(QWidget* field, const QString& text) {
    QTest::mouseClick(field, Qt::LeftButton);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
}

QPushButton* ButtonCalled(QWidget* dialog, const QString& text) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
        if (button->text() == text) return button;
    return nullptr;
}

}  // namespace

TEST_F(GuiTest, DirectPrintDrawsTheGridAsItStands) {
    SetCell(5, 1, "147.25000");  // an edit not yet stored into the image
    QPrinter* printer = App()->Print()->Printer();
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(Path("direct.pdf"));
    ASSERT_TRUE(App()->Print()->OnFilePrintDirect());
    QProcess text;
    text.start("pdftotext", {"-layout", Path("direct.pdf"), "-"});
    ASSERT_TRUE(text.waitForFinished(10000));
    const QString out = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(out.contains("147.25000")) << out.toStdString();
    EXPECT_TRUE(out.contains("第五页"));
    EXPECT_EQ(PdfInfo(Path("direct.pdf"), "Title"), "OstrelTZ写频软件");
    // Once the language is switched, the next job's name follows it.
    Frame()->findChild<QAction*>("languageEn")->trigger();
    ASSERT_TRUE(App()->Print()->OnFilePrintDirect());
    EXPECT_EQ(PdfInfo(Path("direct.pdf"), "Title"), "OstrelTZ Programmer");
}

// The pages, the copies and their order chosen in the print window are what
// a printed file holds; the next job starts again from every page, once.
TEST_F(CellEditing, APrintJobPrintsWhatItsWindowChoseAndTheNextStartsAfresh) {
    QPrinter* printer = App()->Print()->Printer();
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(Path("chosen.pdf"));
    Click(1, 1);
    WithModal([&] { Key(Qt::Key_P, Qt::ControlModifier); },
              [&](QWidget* dialog) {
                  QTest::mouseClick(ButtonCalled(dialog, "选项(&O) >>"), Qt::LeftButton);
                  QTest::mouseClick(dialog->findChild<QRadioButton*>("printRange"), Qt::LeftButton, {}, QPoint(6, 6));
                  TypeOver(dialog->findChild<QSpinBox*>("to"), "3");
                  TypeOver(dialog->findChild<QSpinBox*>("from"), "2");
                  TypeOver(dialog->findChild<QSpinBox*>("copies"), "2");
                  QTest::mouseClick(dialog->findChild<QCheckBox*>("reverse"), Qt::LeftButton, {}, QPoint(6, 6));
                  QTest::mouseClick(ButtonCalled(dialog, "打印(&P)"), Qt::LeftButton);
              });
    ASSERT_EQ(PdfPages(Path("chosen.pdf")), 4);
    EXPECT_TRUE(PdfPageText(Path("chosen.pdf"), 1).contains("第三页"));
    EXPECT_TRUE(PdfPageText(Path("chosen.pdf"), 2).contains("第二页"));
    EXPECT_TRUE(PdfPageText(Path("chosen.pdf"), 3).contains("第三页"));

    SetCell(1, 1, "147.25000");  // an edit on the first page, which the last job left out
    Frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame()));
    Click(1, 1);
    printer->setOutputFileName(Path("next.pdf"));
    WithModal([&] { Key(Qt::Key_P, Qt::ControlModifier); },
              [&](QWidget* dialog) { QTest::mouseClick(ButtonCalled(dialog, "打印(&P)"), Qt::LeftButton); });
    ASSERT_EQ(PdfPages(Path("next.pdf")), 5);
    EXPECT_TRUE(PdfPageText(Path("next.pdf"), 1).contains("整机设置"));
    EXPECT_TRUE(PdfPageText(Path("next.pdf"), 1).contains("147.25000"));
}
