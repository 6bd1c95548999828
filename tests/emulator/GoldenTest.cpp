// The demo project end to end: compiled by the designer, its frames rendered by the headless
// Emulator (scripts/demo-shots, which also says how each frame is reached and what it shows),
// compared pixel by pixel with the reviewed references in tests/emulator/golden/.
//
// A deliberate change of the rendering is a reviewed update of the references:
//   scripts/demo-shots tests/emulator/golden     (after a build into build/)
// then look at every changed picture before committing it. When this test fails, the pictures
// it rendered are kept in golden-actual/ beside the test program.

#include "GoldenPictures.h"

namespace {

TEST(Golden, DemoFramesMatchTheReferences) {
    golden::ExpectScriptMatchesReferences(QStringLiteral(KV_SOURCE_DIR "/scripts/demo-shots"),
                                          QStringLiteral(KV_SOURCE_DIR "/tests/emulator/golden"));
}

} // namespace
