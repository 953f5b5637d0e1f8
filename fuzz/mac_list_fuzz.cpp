// Any bytes as a MAC list file and as an FTP listing: both come from outside, neither may be trusted.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "discovery/ftp_listing.h"
#include "discovery/mac_register.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    MacListRead read = readMacList(bytes);
    // What was read writes back to records that read the same way.
    MacListRead again = readMacList(writeMacList(read.entries));
    if (again.entries.size() != read.entries.size() && !read.badRecord) __builtin_trap();
    splitFtpListing(bytes);
    return 0;
}
