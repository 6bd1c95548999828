// The demo project end to end: compiled by the designer, its frames rendered by the headless
// Emulator (scripts/demo-shots, which also says how each frame is reached and what it shows),
// compared pixel by pixel with the reviewed references in tests/emulator/golden/.
//
// A deliberate change of the rendering is a reviewed update of the references:
//   scripts/demo-shots tests/emulator/golden     (after a build into build/)
// then look at every changed picture before committing it. When this test fails, the pictures
// it rendered are kept in golden-actual/ beside the test program.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kReferences = QStringLiteral(KV_SOURCE_DIR "/tests/emulator/golden");

QStringList Pictures(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
}

// The number of differing pixels, and where the first one is.
struct Difference {
    int pixels = 0;
    QPoint first;
};

Difference Compare(const QImage& want, const QImage& got) {
    Difference difference;
    for (int y = 0; y < want.height(); ++y) {
        for (int x = 0; x < want.width(); ++x) {
            if ((want.pixel(x, y) & 0xFFFFFF) == (got.pixel(x, y) & 0xFFFFFF))
                continue;
            if (difference.pixels++ == 0)
                difference.first = QPoint(x, y);
        }
    }
    return difference;
}

void KeepForReview(const QString& rendered, const QString& name) {
    const QString folder = QStringLiteral(KV_TEST_DIR "/golden-actual");
    QDir().mkpath(folder);
    QFile::remove(folder + '/' + name);
    QFile::copy(rendered, folder + '/' + name);
}

TEST(Golden, DemoFramesMatchTheReferences) {
    QTemporaryDir dir;
    QProcess shots;
    shots.start(QStringLiteral("bash"), {QStringLiteral(KV_SOURCE_DIR "/scripts/demo-shots"),
                                         dir.path(), QStringLiteral(KV_BIN_DIR)});
    ASSERT_TRUE(shots.waitForFinished(120000));
    ASSERT_EQ(shots.exitCode(), 0) << shots.readAllStandardError().toStdString();

    const QStringList references = Pictures(kReferences);
    ASSERT_FALSE(references.isEmpty());
    EXPECT_EQ(Pictures(dir.path()), references) << "every shot has one reference";
    for (const QString& name : references) {
        const QString rendered = dir.filePath(name);
        const QImage want(kReferences + '/' + name);
        const QImage got(rendered);
        ASSERT_EQ(want.size(), QSize(480, 272)) << name.toStdString();
        if (got.size() != want.size()) {
            ADD_FAILURE() << name.toStdString() << " was not rendered";
            continue;
        }
        const Difference difference = Compare(want, got);
        if (difference.pixels > 0)
            KeepForReview(rendered, name);
        EXPECT_EQ(difference.pixels, 0)
            << name.toStdString() << " differs, first at (" << difference.first.x() << ", "
            << difference.first.y() << "); rendered picture kept in " KV_TEST_DIR
            << "/golden-actual";
    }
}

} // namespace
