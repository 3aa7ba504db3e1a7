#include "GalleryPage.h"

#include "GalleryCards.h"
#include "GalleryStyle.h"
#include "PageLinks.h"
#include "text/HtmlText.h"

namespace zelvane {
namespace {

// "converted 3 of 4 models, 1200 polygons", as the run's last line says it.
std::string runFigures(const GalleryRun& run) {
    return "converted " + std::to_string(run.converted) + " of " + std::to_string(run.models) + " models, " +
           std::to_string(run.polygons) + (run.polygons == 1 ? " polygon" : " polygons");
}

void appendPageStart(TextBuffer& out, const GalleryRun& run) {
    const std::string figures = runFigures(run);
    out.append("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
               "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>Zelvane gallery: ");
    appendHtmlText(out, figures);
    out.append("</title>\n<style>\n");
    out.append(kGalleryStyle);
    out.append("</style>\n</head>\n<body>\n<h1>Zelvane gallery</h1>\n");
    appendTextElement(out, "p", "summary", figures);
    out.append("<main class=\"cards\">\n");
}

}  // namespace

bool writeGalleryPage(OutputSet& outputs, const std::string& pagePath, const GalleryRun& run,
                      const std::vector<GalleryCard>& cards) {
    OutputFile* page = outputs.create(pagePath);
    if (page == nullptr) {
        return false;
    }
    const PageLinks links(pagePath, run.currentFolder);
    TextBuffer& out = page->text();
    appendPageStart(out, run);
    for (const GalleryCard& card : cards) {
        appendGalleryCard(out, card, links);
        page->flushIfLarge();
    }
    out.append("</main>\n</body>\n</html>\n");
    return outputs.close(*page);
}

}  // namespace zelvane
