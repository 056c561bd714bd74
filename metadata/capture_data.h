// What a photo's Exif says of its capture (time, exposure, camera, pixel size), for grouping a
// selection into brackets. Pure: bytes in; whatever is missing or damaged is unknown.
#pragma once
#include "metadata/metadata.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace lvp::metadata {
struct SCaptureData {
    // Seconds since 1970-01-01 00:00:00 of the camera's clock (no time zone): DateTimeOriginal
    // with SubSecTimeOriginal, else DateTimeDigitized with SubSecTimeDigitized; never the file's
    // time or DateTime.
    std::optional<double> captureTime;
    bool bWholeSeconds = false;            // the capture time has no sub-second part
    std::optional<double> exposureSeconds; // ExposureTime
    std::optional<double> exposureBias;    // ExposureBiasValue, in EV
    std::optional<double> fNumber;         // FNumber
    std::optional<double> iso;             // PhotographicSensitivity (ISOSpeedRatings)
    std::string strCamera;                 // Make, Model and BodySerialNumber when present; empty: unknown
    std::optional<SImageSize> size;        // the pixel size, as ReadImageSize reads it
    bool operator==(const SCaptureData&) const = default;
};

// The capture data of a JPEG or TIFF file's first bytes (as much as ReadImageSize needs: a JPEG up
// to its frame header, a TIFF up to its first directory and the Exif directory it names). Any
// other file, damaged or missing fields give unknown values, never a failure. Does not throw.
SCaptureData ReadCaptureData(std::span<const uint8_t> file) noexcept;
} // namespace lvp::metadata
