#pragma once

#include <QDialog>

// "更新设置": the check at start-up, switched on or off at once, the installed version and
// "立即检查", which asks for a check (checkNow) while the dialog stays open.
class DlgAutoSetUpdate : public QDialog {
    Q_OBJECT

public:
    DlgAutoSetUpdate(const QString& configPath, const QString& displayVersion,
                     QWidget* parent = nullptr);

signals:
    void checkNow();
};
