#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// "The 100-picture file": a plain project of about 30 KB whose frame holds one honest 2 x 2
// picture and `hostile` pictures whose headers each claim 2048 x 2048 pixels (16 MiB) while
// their data holds 4 bytes. Reading the headers at their word costs gigabytes.
inline QByteArray PictureFloodProject(int hostile = 100) {
    auto head = [](const char* sizeBytes, const char* imageBytes) {
        QStringList pieces = QString::fromLatin1("28|00|00|00|%1|%1|01|00|20|00|00|00|00|00|%2")
                                 .arg(QLatin1String(sizeBytes), QLatin1String(imageBytes))
                                 .split(u'|');
        while (pieces.size() < 48)
            pieces.append(QStringLiteral("00"));
        return pieces.join(u'|');
    };
    auto part = [](int left, const QString& headText, const char* data) {
        return QStringLiteral("<Part Type=\"Picture\" ID=\"5\" LabelName=\"\">\r\n"
                              "<Position Left=\"%1\" Top=\"0\" Width=\"2\" Height=\"2\" "
                              "SameColor=\"0\"/>\r\n<BMPHead Head=\"%2\"/>\r\n"
                              "<BMPData Data=\"%3\"/>\r\n</Part>\r\n")
            .arg(left)
            .arg(headText, QLatin1String(data));
    };
    QString text = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
        "<KoravelProject PLCID=\"2\" PLCName=\"\" SoftVersion=\"1.0\" Date=\"2024-03-01\" "
        "Time=\"09:05:03\">\r\n<CommParameter/>\r\n<Frames>\r\n"
        "<Frame Name=\"1\" PrevID=\"0\" ID=\"1\" NextID=\"2\" Desc=\"\" ListOrder=\"0\" "
        "BkColor=\"0\">\r\n<Parts>\r\n");
    // 2 x 2 pixels, 16 bytes: white, red / blue, green (rows stored bottom-up).
    text += part(0, head("02|00|00|00", "10|00|00|00"),
                 "ff|00|00|00|00|ff|00|00|ff|ff|ff|00|00|00|ff|00");
    for (int i = 0; i < hostile; ++i)
        text += part(4 + i, head("00|08|00|00", "00|00|00|01"), "11|22|33|00");
    text += QStringLiteral("</Parts>\r\n</Frame>\r\n</Frames>\r\n</KoravelProject>\r\n");
    return text.toUtf8();
}
