#pragma once

#include <QDialog>

// "关于我们": the application icon, the program's name, its version and two notice lines.
class DlgAbout : public QDialog {
    Q_OBJECT

public:
    // `version` is the version text shown after "版本".
    explicit DlgAbout(const QString& version, QWidget* parent = nullptr);

    // The version the program was built as.
    static QString BuildVersion();
};
