// Recovery of unsaved work: when the copy is written and removed, which copies the next start
// offers, and a designer killed with SIGKILL whose work the next start restores. HOME and the
// XDG folders are temporary.

#include "HMIFrame.h"
#include "Ini.h"
#include "KoravelDoc.h"
#include "PLCFactory.h"
#include "Recovery.h"
#include "commands/FrameCommands.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <sys/types.h>

namespace {

const QString kDemo = QStringLiteral(KV_BIN_DIR "/demo/demo.kvpr");
const QString kChild = QStringLiteral(KV_TEST_DIR "/recovery_child");

const CPLCFactory& Catalog() {
    static CPLCFactory catalog;
    static const bool loaded = catalog.Load(KV_BIN_DIR "/Factory.dll");
    Q_ASSERT(loaded);
    return catalog;
}

QString Saved(const CKoravelProject& project) {
    return project.SaveXmlText(QDateTime(QDate(2026, 1, 1), QTime(12, 0)));
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// `count` edits: frames added one command each.
void Edit(CKoravelDoc& doc, int count) {
    static int next = 200;
    for (int i = 0; i < count; ++i, ++next) {
        auto frame = std::make_unique<CHMIFrame>();
        frame->m_nID = static_cast<std::uint16_t>(next);
        frame->m_strName = QString::number(next);
        doc.Push(new CmdAddFrame(doc, std::move(frame), QStringLiteral("新建画面")));
    }
}

// Answers the next recovery offer with the button `text` and keeps what it said.
void AnswerOffer(const QString& text, QString* offered = nullptr) {
    QTimer::singleShot(0, [text, offered] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (offered)
            *offered = box->text() + u'|' + box->informativeText();
        for (QAbstractButton* button : box->buttons())
            if (button->text() == text)
                button->click();
    });
}

} // namespace

class RecoveryTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QTemporaryDir m_work;

    QString Folder() const { return CRecovery::DefaultFolder(); }
    QStringList Copies() const {
        return QDir(Folder()).entryList({QStringLiteral("*.kvpr")}, QDir::Files);
    }
    // The demo project as a file of the user's.
    QString UserProject() const {
        const QString path = m_work.filePath(QStringLiteral("user.kvpr"));
        QFile::remove(path);
        QFile::copy(kDemo, path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }

private slots:
    void initTestCase() {
        qputenv("HOME", m_home.path().toUtf8());
        for (const char* name :
             {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_CACHE_HOME"})
            qputenv(name, m_home.filePath(QString::fromLatin1(name)).toUtf8());
        QVERIFY(Folder().startsWith(m_home.path()));
    }

    void cleanup() { QDir(Folder()).removeRecursively(); }

    // Every 50th edit writes the copy (the project as it stands, and where it came from); a
    // save removes it, and the user's file is only ever written by the save.
    void copyAfterFiftyEditsRemovedBySave() {
        const QString user = UserProject();
        const QByteArray before = ReadFile(user);
        CKoravelDoc doc(Catalog());
        QStringList messages;
        QVERIFY(doc.Load(user, messages));
        CRecovery recovery(doc, Folder(), 3600 * 1000);
        Edit(doc, CRecovery::kEdits - 1);
        QCOMPARE(Copies(), QStringList());
        Edit(doc, 1);
        QCOMPARE(Copies().size(), 1);
        CKoravelProject copy;
        QVERIFY(copy.Load(recovery.CopyPath(), Catalog(), messages));
        QCOMPARE(Saved(copy), Saved(doc.Project()));
        const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                          QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
        QCOMPARE(QFileInfo(Folder()).permissions() & others, QFile::Permissions());
        QCOMPARE(ReadFile(user), before);
        QVERIFY(doc.Save(user));
        QCOMPARE(Copies(), QStringList());
    }

    // The timer writes a modified project only; undoing back to the saved state removes it,
    // and so does a normal end.
    void copyOnTheIntervalRemovedWhenClean() {
        CKoravelDoc doc(Catalog());
        QStringList messages;
        QVERIFY(doc.Load(UserProject(), messages));
        auto recovery = std::make_unique<CRecovery>(doc, Folder(), 50);
        QTest::qWait(200);
        QCOMPARE(Copies(), QStringList());
        Edit(doc, 1);
        QTRY_COMPARE(Copies().size(), 1);
        doc.UndoStack().undo();
        QCOMPARE(Copies(), QStringList());
        QTest::qWait(200);
        QCOMPARE(Copies(), QStringList());
        doc.UndoStack().redo();
        QTRY_COMPARE(Copies().size(), 1);
        recovery.reset();
        QCOMPARE(Copies(), QStringList());
    }

    // A copy whose designer still runs is not offered; one left by a run that ended is, and
    // "放弃" deletes it.
    void whichCopiesAreOffered() {
        CKoravelDoc running(Catalog());
        QStringList messages;
        const QString user = UserProject();
        QVERIFY(running.Load(user, messages));
        CRecovery runningRecovery(running, Folder(), 3600 * 1000);
        Edit(running, CRecovery::kEdits);
        QCOMPARE(Copies().size(), 1);

        CKoravelDoc doc(Catalog());
        CRecovery recovery(doc, Folder());
        QString offered;
        AnswerOffer(QStringLiteral("放弃"), &offered);
        QVERIFY(!recovery.OfferLeftOver(nullptr));
        QCoreApplication::processEvents();
        QCOMPARE(offered, QString());

        // As a run that ended abnormally leaves it: the copy and its path, without the lock.
        const QString leftOver = QDir(Folder()).filePath(QStringLiteral("1-1.kvpr"));
        QVERIFY(QFile::copy(runningRecovery.CopyPath(), leftOver));
        QFile path(QDir(Folder()).filePath(QStringLiteral("1-1.path")));
        QVERIFY(path.open(QIODevice::WriteOnly));
        path.write(user.toUtf8());
        path.close();

        // A run that ended before it wrote a copy leaves its lock and maybe the path: both go.
        QFile stale(QDir(Folder()).filePath(QStringLiteral("2-2.lock")));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("999999999\nrecovery_child\n\n"); // a process id that no process has
        stale.close();
        QVERIFY(QFile::copy(path.fileName(), QDir(Folder()).filePath(QStringLiteral("2-2.path"))));

        AnswerOffer(QStringLiteral("放弃"), &offered);
        QVERIFY(!recovery.OfferLeftOver(nullptr));
        QVERIFY(!QFileInfo::exists(stale.fileName()));
        QVERIFY(!QFileInfo::exists(QDir(Folder()).filePath(QStringLiteral("2-2.path"))));
        QVERIFY(offered.startsWith(QStringLiteral("发现未保存的工程…|") + user + u'\n'));
        QVERIFY(!QFileInfo::exists(leftOver));
        QVERIFY(!doc.IsModified());
        QCOMPARE(Copies().size(), 1);
        QString runningLock = runningRecovery.CopyPath();
        runningLock.replace(QStringLiteral(".kvpr"), QStringLiteral(".lock"));
        QVERIFY(QFileInfo::exists(runningLock));
    }

    // A designer killed with its project modified leaves the copy; the next start offers it
    // and restores it as modified, with the user's path, while the user's file stays as it
    // was; that designer's normal end removes the copy.
    void killedDesignerRestoredAtTheNextStart() {
        // The designer's program folder: the catalog, and an update server that answers
        // nothing at once.
        const QString program = m_work.filePath(QStringLiteral("program"));
        QVERIFY(QDir().mkpath(program));
        const QString child = QDir(program).filePath(QStringLiteral("recovery_child"));
        QFile::remove(child);
        QVERIFY(QFile::copy(kChild, child));
        QFile::link(QStringLiteral(KV_BIN_DIR "/Factory.dll"),
                    QDir(program).filePath(QStringLiteral("Factory.dll")));
        IniWriteString(QStringLiteral("update"), QStringLiteral("server"),
                       QStringLiteral("127.0.0.1:1"),
                       QDir(program).filePath(QStringLiteral("config.dll")));
        const QString user = UserProject();
        const QByteArray before = ReadFile(user);
        CKoravelProject demo;
        QStringList messages;
        QVERIFY(demo.Load(user, Catalog(), messages));
        const qsizetype frames = qsizetype(demo.m_Frames.size()) + CRecovery::kEdits;

        QProcess edit;
        edit.start(child, {QStringLiteral("edit"), user});
        QVERIFY(edit.waitForStarted());
        QByteArray said;
        while (!said.contains("ready") && edit.waitForReadyRead(30000))
            said += edit.readAllStandardOutput();
        QVERIFY2(said.contains("ready"), said.constData());
        ::kill(pid_t(edit.processId()), SIGKILL);
        QVERIFY(edit.waitForFinished());
        QCOMPARE(edit.exitStatus(), QProcess::CrashExit);
        QCOMPARE(Copies().size(), 1);

        QProcess restore;
        restore.start(child, {QStringLiteral("restore")});
        QVERIFY(restore.waitForFinished(60000));
        const QStringList lines =
            QString::fromUtf8(restore.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines, (QStringList{QStringLiteral("offer 发现未保存的工程…|") + user,
                                     QStringLiteral("modified 1"), QStringLiteral("path ") + user,
                                     QStringLiteral("frames %1").arg(frames),
                                     QStringLiteral("copies 1")}));
        QCOMPARE(restore.exitCode(), 0);
        QCOMPARE(ReadFile(user), before);
        // Neither run leaves anything behind: not the copy, not a lock.
        QCOMPARE(QDir(Folder()).entryList(QDir::Files), QStringList());
    }
};

QTEST_MAIN(RecoveryTest)
#include "tst_recovery.moc"
