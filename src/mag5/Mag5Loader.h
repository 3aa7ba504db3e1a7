#pragma once

#include <string>

#include "ByteReader.h"
#include "LoadReport.h"
#include "mesh/MeshStore.h"

namespace zelvane {

// Why a model could not be loaded.
enum class LoadFailure {
    kNone,
    kCannotOpen,        // the system's reason: no such file, no permission, a folder
    kCannotRead,        // a read failed midway; the system's reason
    kNotMag5,           // the file does not start with the magic
    kCutShort,          // the file ends inside a record it declares
    kVertexOutOfRange,  // a corner refers to a vertex the file does not have
};

// A failure's kind and its words for the user, such as
// "file ends early (inside polygon 17)".
struct LoadError {
    LoadFailure kind = LoadFailure::kNone;
    std::string words;
    explicit operator bool() const { return kind != LoadFailure::kNone; }
};

struct LoadResult {
    LoadError error;  // false when the file was loaded whole
    LoadReport report;
};

// Reads one MAG5 file into the store. The file's vertex indices are offset by
// the positions the store already held, and its texture numbers are mapped to
// the store's entries for their names. A file that cannot be opened, is not
// MAG5, ends early or refers to a vertex it does not have gives an error in
// plain words; what was added to the store before is then left in it.
LoadResult loadMagFile(const std::string& path, MeshStore& store);
// The same from a file already open, none of whose bytes are taken yet.
LoadResult loadMagFile(mag5::ByteReader& reader, MeshStore& store);

}  // namespace zelvane
