#include "NamedSharedMemory.h"

#include <QString>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

QString TestName() {
    return QStringLiteral("kv_platform_test_%1").arg(getpid());
}

TEST(NamedSharedMemory, AReaderSeesTheCreatorsBytesAndLeavesTheName) {
    NamedSharedMemory creator;
    ASSERT_TRUE(creator.Create(TestName(), 64));
    creator.Data()[0] = 0x12;
    creator.Data()[63] = 0x34;

    for (int reader = 0; reader < 2; ++reader) {
        NamedSharedMemory memory;
        ASSERT_TRUE(memory.OpenReadOnly(TestName())) << "reader " << reader;
        ASSERT_EQ(memory.Size(), 64u);
        EXPECT_EQ(memory.Data()[0], 0x12);
        EXPECT_EQ(memory.Data()[63], 0x34);
    }

    creator.Close();
    NamedSharedMemory gone;
    EXPECT_FALSE(gone.OpenReadOnly(TestName())) << "the creator removes the name";
    EXPECT_EQ(gone.Data(), nullptr);
}

} // namespace
