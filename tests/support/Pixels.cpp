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

}  // namespace zelvane::test
