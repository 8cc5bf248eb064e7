// Feeds arbitrary bytes to the definition file reader; a file it accepts must encode back to
// a file that decodes to the same definition.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/model/CatforgeDoc.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CCatforgeDoc doc;
    std::string error;
    if (!doc.DecodeDefinition(bytes, error))
        return 0;
    CCatforgeDoc again;
    if (!again.DecodeDefinition(doc.EncodeDefinition(), error) || !again.SameDefinition(doc)) {
        std::abort();
    }
    return 0;
}
