#pragma once

#include <QDialog>
#include <QString>

#include <vector>

// One serial port of this computer.
struct SerialPortRecord {
    QString devicePath;   // where it opens ("/dev/ttyUSB0")
    QString portName;     // "ttyUSB0"
    QString friendlyName; // what the system calls it, with the port in brackets
    QString description;  // the friendly name without a trailing bracketed part
    bool usb = false;     // the port belongs to a USB device
};

// The record of a port as the system describes it (`systemName` may be empty).
SerialPortRecord MakeSerialPortRecord(const QString& devicePath, const QString& portName,
                                      const QString& systemName, bool usb);

// The serial ports present, in the order the system lists them.
std::vector<SerialPortRecord> EnumSerialPorts();

// The dialog "枚举串口": the friendly names of this computer's serial ports, for the user to
// see which one a PLC cable uses; nothing in the designer opens a port.
class DlgEnumCom : public QDialog {
    Q_OBJECT

public:
    explicit DlgEnumCom(QWidget* parent = nullptr);
};
