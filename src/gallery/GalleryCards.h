#pragma once

#include "GalleryPage.h"
#include "PageLinks.h"
#include "text/TextBuffer.h"

namespace zelvane {

// One model's card: its picture, path, counts, outputs and warnings, or its
// path and error line when it failed.
void appendGalleryCard(TextBuffer& out, const GalleryCard& card, const PageLinks& links);

}  // namespace zelvane
