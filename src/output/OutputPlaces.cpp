#include "OutputPlaces.h"

#include "Interrupts.h"

namespace zelvane {

FileIdentity identityBesideOutputs(const std::string& path) {
    const InterruptDeferral placingWaits;
    return identityOf(path);
}

}  // namespace zelvane
