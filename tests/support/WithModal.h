#pragma once
// Runs `inspect` on the modal window that `open` brings up, then closes it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>

template <typename Open, typename Inspect>
void WithModal(Open open, Inspect inspect) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        seen = true;
        inspect(modal);
        if (modal->isVisible()) modal->close();
    });
    open();
    EXPECT_TRUE(seen);
}
