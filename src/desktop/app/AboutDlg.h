#pragma once
#include <QDialog>

// The About box: the program's icon, name and version, and "确定".
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
