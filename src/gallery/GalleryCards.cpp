#include "GalleryCards.h"

#include "text/HtmlText.h"

namespace zelvane {
namespace {

void appendCount(TextBuffer& out, uint64_t count, std::string_view one, std::string_view many) {
    appendDecimal(out, count);
    out.append(' ');
    out.append(count == 1 ? one : many);
}

void appendPicture(TextBuffer& out, const GalleryCard& card, const PageLinks& links) {
    if (card.picture.empty()) {
        out.append("<div class=\"no-picture\">no picture</div>\n");
        return;
    }
    out.append("<img");
    appendAttribute(out, "src", links.linkTo(card.picture));
    appendAttribute(out, "alt", "Picture of " + card.shownPath);
    if (card.pictureSize > 0) {
        appendAttribute(out, "width", card.pictureSize);
        appendAttribute(out, "height", card.pictureSize);
    }
    out.append(" loading=\"lazy\">\n");
}

void appendCounts(TextBuffer& out, const GalleryCard& card) {
    out.append("<p class=\"counts\">");
    appendCount(out, card.triangles, "triangle", "triangles");
    out.append(", ");
    appendCount(out, card.quads, "quad", "quads");
    out.append("</p>\n");
}

void appendOutputs(TextBuffer& out, const GalleryCard& card, const PageLinks& links) {
    if (card.outputs.empty()) {
        return;
    }
    out.append("<ul class=\"outputs\">\n");
    for (const std::string& output : card.outputs) {
        out.append("<li><a");
        appendAttribute(out, "href", links.linkTo(output));
        out.append('>');
        appendHtmlText(out, output);
        out.append("</a></li>\n");
    }
    out.append("</ul>\n");
}

void appendWarnings(TextBuffer& out, const GalleryCard& card) {
    if (card.warnings.empty()) {
        return;
    }
    out.append("<ul class=\"warnings\">\n");
    for (const std::string& warning : card.warnings) {
        appendTextElement(out, "li", "warning", warning);
    }
    out.append("</ul>\n");
}

}  // namespace

void appendGalleryCard(TextBuffer& out, const GalleryCard& card, const PageLinks& links) {
    out.append(card.failure ? "<article class=\"card failed\">\n" : "<article class=\"card\">\n");
    if (!card.failure) {
        appendPicture(out, card, links);
    }
    appendTextElement(out, "h2", "path", card.shownPath);
    if (card.failure) {
        appendTextElement(out, "p", "error", *card.failure);
    } else {
        appendCounts(out, card);
        appendOutputs(out, card, links);
    }
    appendWarnings(out, card);
    out.append("</article>\n");
}

}  // namespace zelvane
