// One generated mesh written twice at once: as MAG5 for the converter and,
// when a PLY path is given, as binary PLY for the comparison with assimp.
//
// PLY keeps normals and texture coordinates per vertex. A corner therefore
// shares the PLY vertex of its model vertex only when it uses that vertex's
// own normal and texture coordinate: a smooth-shaded corner that is
// untextured or carries the texture coordinate given with the vertex. Every
// other corner (flat shaded, or with a texture coordinate of its own) gets a
// PLY vertex of its own with the same position, the normal it is shaded with
// and its texture coordinate. So both files hold the same positions and, per
// corner, the same normal and texture coordinate. What PLY cannot carry: the
// materials (texture names and colours), the render-state words, and face
// normals in double precision (they go to PLY as float). Vertices no corner
// uses stay out of the PLY file.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "BenchModel.h"
#include "ChunkedFile.h"
#include "PlyWriter.h"
#include "mag5writer/Mag5Writer.h"

namespace zelvane::tools {

class ModelSink {
public:
    // The MAG5 header needs the texture table and both counts first.
    ModelSink(const BenchModelFiles& files, const std::vector<std::string>& textures, uint32_t vertexCount,
              uint32_t polygonCount);

    bool isOpen() const { return mag_.isOpen() && (ply_ == nullptr || ply_->isOpen()); }
    // texcoord: the texture coordinate of the vertex's smooth-shaded corners.
    void addVertex(const Mag5VertexSpec& vertex, std::array<float, 2> texcoord);
    // Every vertex comes before the first polygon.
    void addPolygon(const Mag5PolygonSpec& polygon);
    bool finish();

private:
    struct KeptVertex {
        PlyVertex ply;
        uint32_t plyIndex;
    };
    static constexpr uint32_t kNotWritten = 0xFFFFFFFF;

    uint32_t plyIndexOf(const Mag5PolygonSpec& polygon, const Mag5CornerSpec& corner);

    ChunkedFile mag_;
    std::unique_ptr<PlyWriter> ply_;
    std::vector<KeptVertex> vertices_;  // only for the PLY file
};

}  // namespace zelvane::tools
