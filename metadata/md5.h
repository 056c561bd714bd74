// The MD5 digest, as the GUID that ties a JPEG's extended XMP to its main packet.
#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace lvp::metadata {
std::array<uint8_t, 16> Md5(std::span<const uint8_t> data);
// The digest as 32 upper-case hexadecimal digits.
std::string Md5Hex(std::span<const uint8_t> data);
} // namespace lvp::metadata
