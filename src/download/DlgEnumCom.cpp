#include "DlgEnumCom.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QVBoxLayout>

SerialPortRecord MakeSerialPortRecord(const QString& devicePath, const QString& portName,
                                      const QString& systemName, bool usb) {
    SerialPortRecord record{devicePath, portName, portName, systemName, usb};
    if (!systemName.isEmpty())
        record.friendlyName = systemName + QStringLiteral(" (") + portName + u')';
    if (record.description.isEmpty()) {
        record.description = record.friendlyName;
        const qsizetype bracket = record.description.lastIndexOf(QStringLiteral(" ("));
        if (bracket >= 0 && record.description.endsWith(u')'))
            record.description.truncate(bracket);
    }
    return record;
}

std::vector<SerialPortRecord> EnumSerialPorts() {
    std::vector<SerialPortRecord> records;
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts())
        records.push_back(MakeSerialPortRecord(port.systemLocation(), port.portName(),
                                               port.description(), port.hasVendorIdentifier()));
    return records;
}

DlgEnumCom::DlgEnumCom(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("serialPortDialog"));
    setWindowTitle(QStringLiteral("枚举串口"));
    auto* list = new QListWidget;
    list->setObjectName(QStringLiteral("portList"));
    for (const SerialPortRecord& record : EnumSerialPorts())
        list->addItem(record.friendlyName);
    auto* exit = new QPushButton(QStringLiteral("退出"));
    exit->setObjectName(QStringLiteral("exitButton"));
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(exit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list);
    layout->addLayout(buttons);
    resize(320, 240);
}
