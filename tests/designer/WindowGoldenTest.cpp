// The designer's main window rendered offscreen (scripts/window-shots, which says what each
// shot shows), compared pixel by pixel with the reviewed references in
// tests/designer/golden/window/.
//
// A deliberate change of the window is a reviewed update of the references:
//   scripts/window-shots tests/designer/golden/window     (after a build into build/)
// then look at every changed picture before committing it.

#include "GoldenPictures.h"

namespace {

TEST(WindowGolden, WindowShotsMatchTheReferences) {
    golden::ExpectScriptMatchesReferences(
        QStringLiteral(KV_SOURCE_DIR "/scripts/window-shots"),
        QStringLiteral(KV_SOURCE_DIR "/tests/designer/golden/window"));
}

} // namespace
