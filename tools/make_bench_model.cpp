// Writes a large generated model for benchmarks, and the same mesh as binary
// PLY when a second path is given:
//   make_bench_model [--family shared|smooth|flat] --polygons N <out.mag> [<out.ply>]
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "benchmodels/BenchModel.h"

namespace {

struct Request {
    zelvane::tools::ModelFamily family = zelvane::tools::ModelFamily::shared;
    unsigned long polygons = 0;
    std::vector<std::string> paths;
};

std::optional<Request> parseRequest(int argc, char** argv) {
    Request request;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if ((argument == "--family" || argument == "--polygons") && i + 1 == argc) return std::nullopt;
        if (argument == "--family") {
            const auto family = zelvane::tools::parseFamily(argv[++i]);
            if (!family) return std::nullopt;
            request.family = *family;
        } else if (argument == "--polygons") {
            request.polygons = std::strtoul(argv[++i], nullptr, 10);
        } else {
            request.paths.push_back(argument);
        }
    }
    const bool valid = request.polygons > 0 && request.polygons <= 0xFFFFFFFFul && !request.paths.empty() &&
                       request.paths.size() <= 2;
    return valid ? std::optional(request) : std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Request> request = parseRequest(argc, argv);
    if (!request) {
        std::fprintf(stderr, "usage: make_bench_model [--family shared|smooth|flat] --polygons N <out.mag> [<out.ply>]\n");
        return 1;
    }
    const zelvane::tools::BenchModelFiles files{request->paths[0], request->paths.size() == 2 ? request->paths[1] : "", {}};
    if (!zelvane::tools::writeBenchModel(request->family, static_cast<uint32_t>(request->polygons), files)) {
        std::fprintf(stderr, "make_bench_model: cannot write %s\n", files.magPath.c_str());
        return 2;
    }
    return 0;
}
