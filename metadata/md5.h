// The MD5 digest, as the GUID that ties a JPEG's extended XMP to its main packet.
#pragma once
#include <cstdint>
#include <span>
#include <string>

namespace lvp::metadata {
// The MD5 digest of data as 32 upper-case hexadecimal digits.
std::string Md5Hex(std::span<const uint8_t> data);
} // namespace lvp::metadata
