// Writes the sample model, examples/house.mag in `make sample`.
#include <iostream>

#include "mag5writer/Mag5Writer.h"
#include "sample/SampleHouse.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_sample_model OUTPUT.mag\n";
        return 1;
    }
    if (!zelvane::tools::saveMag5(zelvane::tools::sampleHouse(), argv[1])) {
        std::cerr << "make_sample_model: " << argv[1] << ": cannot write\n";
        return 2;
    }
    return 0;
}
