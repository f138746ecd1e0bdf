// The yardstick of the start-up benchmark: a plain Qt main window holding a
// 128 × 11 table, with nothing of the program's own.
#include <QApplication>
#include <QMainWindow>
#include <QStandardItemModel>
#include <QTableView>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    auto* model = new QStandardItemModel(128, 11, &window);
    for (int row = 0; row < model->rowCount(); ++row)
        for (int column = 0; column < model->columnCount(); ++column)
            model->setItem(row, column, new QStandardItem(QString::number(row * 100 + column)));
    auto* table = new QTableView;
    table->setModel(model);
    window.setCentralWidget(table);
    window.resize(1000, 800);
    window.show();
    return app.exec();
}
