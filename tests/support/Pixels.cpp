#include "Pixels.h"

#include <gtest/gtest.h>

#include "Files.h"

namespace zelvane::test {

bool samePixels(const std::string& a, const std::string& b) {
    const CommandResult result = runProgram(
        "/usr/bin/python3",
        {"-c", "import sys; from PIL import Image\n"
               "x, y = (Image.open(p).convert('RGBA') for p in sys.argv[1:3])\n"
               "print(x.size == y.size and x.tobytes() == y.tobytes())",
         a, b},
        ".");
    EXPECT_EQ(result.status, 0) << a << ", " << b << ": " << result.err;
    return result.out == "True\n";
}

std::string imageSummary(const std::string& path) {
    const CommandResult result = runProgram(
        "/usr/bin/python3",
        {"-c", "import sys; from PIL import Image\n"
               "i = Image.open(sys.argv[1])\n"
               "shown = sum(1 for a in i.convert('RGBA').getdata(band=3) if a > 0)\n"
               "print(i.format, i.size[0], i.size[1], i.mode, shown)",
         path},
        ".");
    return result.status == 0 && !result.out.empty() ? result.out.substr(0, result.out.size() - 1) : "";
}

}  // namespace zelvane::test
