#include "GalleryOutput.h"

#include <cerrno>
#include <cstring>

#include "ErrorLines.h"
#include "gallery/GalleryPage.h"
#include "os/Folders.h"
#include "os/PathText.h"

namespace zelvane {
namespace {

GalleryCard cardOf(const GalleryModel& model, uint32_t pictureSize) {
    const ConversionResult& result = *model.result;
    GalleryCard card;
    card.shownPath = model.shownPath;
    if (result.failure) {
        std::string line = errorLine(result.failure->path, result.failure->reason);
        line.pop_back();  // its line end
        card.failure = std::move(line);
    }
    card.triangles = result.triangles;
    card.quads = result.quads;
    card.outputs = result.outputs;
    card.picture = result.picture;
    card.pictureSize = result.picture.empty() ? 0 : pictureSize;
    for (std::string warning : result.warnings) {
        warning.pop_back();
        card.warnings.push_back(std::move(warning));
    }
    return card;
}

}  // namespace

std::optional<OutputError> writeGallery(const CommandLine& commandLine, const std::vector<GalleryModel>& models) {
    GalleryRun run;
    run.models = models.size();
    run.currentFolder = currentFolder();
    std::vector<GalleryCard> cards;
    for (const GalleryModel& model : models) {
        cards.push_back(cardOf(model, commandLine.previewSize));
        run.converted += model.result->failure ? 0 : 1;
        run.polygons += model.result->failure ? 0 : model.result->polygons;
    }
    const std::string folder(folderPart(commandLine.galleryPage));
    if (!createFolders(folder)) {
        return OutputError{folder, std::strerror(errno)};
    }
    OutputSet outputs;
    if (!writeGalleryPage(outputs, commandLine.galleryPage, run, cards) || !outputs.commit()) {
        return outputs.error();
    }
    return std::nullopt;
}

}  // namespace zelvane
