// Print preview and direct printing from the window.
#include <QAction>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QTimer>

#include "print/PrintCommands.h"
#include "res/ResourceIds.h"
#include "support/GuiFixture.h"

TEST_F(GuiTest, PrintPreviewShowsFivePagesTwoAtATime) {
    for (int id : {ids::ID_FILE_PRINT, ids::ID_FILE_PRINT_PREVIEW, ids::ID_FILE_PRINT_SETUP})
        EXPECT_TRUE(Frame()->Action(id)->isEnabled()) << id;
    int pages = -1;
    QPrintPreviewWidget::ViewMode mode = QPrintPreviewWidget::SinglePageView;
    QString closeTip, closeTool;
    QTimer::singleShot(0, [&] {
        QWidget* preview = QApplication::activeModalWidget();
        ASSERT_NE(preview, nullptr);
        auto* widget = preview->findChild<QPrintPreviewWidget*>();
        ASSERT_NE(widget, nullptr);
        widget->updatePreview();
        pages = widget->pageCount();
        mode = widget->viewMode();
        QAction* close = preview->findChild<QAction*>("closePreview");
        ASSERT_NE(close, nullptr);
        closeTip = close->statusTip();
        closeTool = close->toolTip();
        close->trigger();
    });
    Trigger(ids::ID_FILE_PRINT_PREVIEW);
    EXPECT_EQ(pages, 5);
    EXPECT_EQ(mode, QPrintPreviewWidget::FacingPagesView);
    EXPECT_EQ(closeTip, "关闭打印预览模式");
    EXPECT_EQ(closeTool, "取消预阅");
}

TEST_F(GuiTest, DirectPrintDrawsTheGridAsItStands) {
    View()->SetCellText(5, 1, "147.25000");  // an edit not yet stored into the image
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
}
