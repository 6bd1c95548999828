// The designer as it starts (CKoravelApp), for the recovery test, run from a program folder
// of the test's own:
//   recovery_child edit PROJECT  opens PROJECT, makes 50 edits, prints "ready" once the
//                                recovery copy is written and waits to be killed;
//   recovery_child restore       answers the offer of work left unsaved with "恢复", prints
//                                what the document then holds and ends normally.

#include "HMIFrame.h"
#include "KoravelDoc.h"
#include "LumoKoravel.h"
#include "Recovery.h"
#include "commands/FrameCommands.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

namespace {

int Copies() {
    return int(QDir(CRecovery::DefaultFolder()).entryList({QStringLiteral("*.kvpr")}).size());
}

void Print(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const bool restore = arguments.value(1) == QLatin1String("restore");
    QString offer;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        offer = box->text() + u'|' + box->informativeText().section(u'\n', 0, 0);
        for (QAbstractButton* button : box->buttons())
            if (button->text() == (restore ? QStringLiteral("恢复") : QStringLiteral("放弃")))
                button->click();
    });
    answer.start(10);

    CKoravelApp designer;
    if (!designer.InitInstance(restore ? QStringList{arguments[0]}
                                       : QStringList{arguments[0], arguments.value(2)}))
        return 1;
    CKoravelDoc& doc = designer.Document();
    if (restore) {
        Print(QStringLiteral("offer ") + offer);
        Print(QStringLiteral("modified %1").arg(doc.IsModified()));
        Print(QStringLiteral("path ") + doc.Path());
        Print(QStringLiteral("frames %1").arg(doc.Project().m_Frames.size()));
        Print(QStringLiteral("copies %1").arg(Copies()));
        return 0;
    }
    for (int i = 0; i < CRecovery::kEdits; ++i) {
        auto frame = std::make_unique<CHMIFrame>();
        frame->m_nID = static_cast<std::uint16_t>(200 + i);
        frame->m_strName = QString::number(200 + i);
        doc.Push(new CmdAddFrame(doc, std::move(frame), QStringLiteral("新建画面")));
    }
    Print(QStringLiteral("frames %1").arg(doc.Project().m_Frames.size()));
    if (Copies() == 1)
        Print(QStringLiteral("ready"));
    return QApplication::exec();
}
