// The firewall product's library file, XML or binary plist, read the three ways the viewer
// reads it, its watch lists loaded into the service watch as at start-up. The reader takes
// a path, so each input is written to a private scratch file.
#include "fuzz/ScratchFolder.h"

#include "firewall/RXReadRovexConf.h"
#include "intake/ServiceWatch.h"

#include <cstdint>
#include <string_view>

using namespace rovex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fuzz::ScratchFolder scratch;
    const std::filesystem::path file = scratch.path() / "rovexid.rovexlibrary.plist";
    fuzz::ScratchFolder::write(file, std::string_view(reinterpret_cast<const char*>(data), size));

    const RXReadRovexConf reader;
    reader.loadAllServices(file);
    ServiceWatch watch;
    watch.load(reader.loadNotify(file), reader.loadNotifyBlock(file));
    return 0;
}
