#!/usr/bin/env python3
"""Carries the metadata of real photos (a wallpaper scaled down, tagged with exiftool) into real
fused images (made by ImageMagick and by Debian's enfuse) with metadata_carry, and reads the
results back with exiftool and exiv2; the pixels are compared by ImageMagick's pixel signature.
Writes its cases as GoogleTest-style XML. Linux only.
Usage: oracle_test.py METADATA_CARRY WORK_DIR RESULT_XML"""
import glob
import json
import os
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ET

from make_icc import icc_profile

TOOL, WORK, XML = sys.argv[1:4]
DATE = "2024:05:01 10:20:30"
TAGS = ["-Make=Lumivant", "-Model=LV-1", f"-DateTimeOriginal={DATE}", f"-CreateDate={DATE}",
        "-Artist=Erika Muster", "-Copyright=(c) Erika Muster", "-GPSLatitude=47.5", "-GPSLatitudeRef=N",
        "-GPSLongitude=11.25", "-GPSLongitudeRef=E", "-XMP-xmp:Rating=4", "-XMP-dc:Subject=Berge",
        "-IPTC:Keywords=Alpen", "-ExifImageWidth=240", "-ExifImageHeight=150"]
FUSED = (236, 148)  # the fused images are a little smaller, as an alignment's crop makes them


def run(*args, check=True):
    r = subprocess.run(list(args), capture_output=True, text=True)
    if check and r.returncode != 0:
        raise AssertionError(f"{args[0]} failed ({r.returncode}): {r.stderr.strip()[:300]}")
    return r


def path(name):
    return os.path.join(WORK, name)


def tag(photo, name, *args):
    """A copy of photo with args written by exiftool."""
    out = path(name)
    shutil.copy(photo, out)
    run("exiftool", "-q", "-overwrite_original", *args, out)
    return out


def fixtures():
    os.makedirs(WORK, exist_ok=True)
    wallpaper = sorted(glob.glob("/usr/share/wallpapers/*/contents/images/*.jpg"))[0]
    run("convert", wallpaper, "-resize", "240x150!", "-strip", path("base.jpg"))
    run("convert", path("base.jpg"), "-resize", "40x25", path("thumb.jpg"))
    run("convert", path("base.jpg"), "-crop", "%dx%d+2+1" % FUSED, "+repage", "-modulate", "110", "-strip", path("fused.jpg"))
    run("convert", path("fused.jpg"), "-compress", "lzw", path("fused.tif"))
    run("convert", path("fused.jpg"), path("fused.png"))
    run("convert", path("base.jpg"), "-compress", "none", path("base.tif"))
    with open(path("big.icc"), "wb") as f:
        f.write(icc_profile(100000))
    icc = "-ICC_Profile<=" + path("big.icc")
    photos = {
        "le_thumb_o6": tag(path("base.jpg"), "le_thumb_o6.jpg", "-ExifByteOrder=II", "-Orientation#=6",
                           "-ThumbnailImage<=" + path("thumb.jpg"), *TAGS),
        "be_o8": tag(path("base.jpg"), "be_o8.jpg", "-ExifByteOrder=MM", "-Orientation#=8", *TAGS),
        "o1_icc_extxmp": tag(path("base.jpg"), "o1_icc_extxmp.jpg", "-Orientation#=1", icc,
                             "-XMP-dc:Description=" + "x" * 70000, *TAGS),
        "tiff_o6_icc": tag(path("base.tif"), "tiff_o6_icc.tif", "-Orientation#=6", icc, *TAGS),
        "tiff_o6_bigxmp": tag(path("base.tif"), "tiff_o6_bigxmp.tif", "-Orientation#=6",
                              "-XMP-dc:Description=" + "x" * 70000, *TAGS),
        "no_dimensions": tag(path("base.jpg"), "no_dimensions.jpg", "-Orientation#=6",
                             *[t for t in TAGS if not t.startswith("-ExifImage")]),
        "plain": path("base.jpg"),
    }
    with open(photos["le_thumb_o6"], "rb") as f:
        cut = f.read(400)
    with open(path("truncated.jpg"), "wb") as f:
        f.write(cut)
    photos["truncated"] = path("truncated.jpg")
    return photos


def enfuse_outputs(photo):
    """A dark frame carrying photo's metadata, a bright one, fused by enfuse into JPEG and TIFF."""
    dark = tag(path("base.jpg"), "dark.jpg", "-tagsFromFile", photo, "-all:all")
    run("convert", path("base.jpg"), "-modulate", "140", path("bright.jpg"))
    for ext in ("jpg", "tif"):
        run("enfuse", "-o", path("enfused." + ext), dark, path("bright.jpg"))
    return dark


def read_tags(file):
    r = run("exiftool", "-j", "-n", "-a", "-G1", file)
    return json.loads(r.stdout)[0]


def signature(file):
    return run("identify", "-format", "%#", file).stdout


def check_done(photo, output, result, orientation, icc, size):
    t = read_tags(result)
    expect = {"IFD0:Make": "Lumivant", "IFD0:Model": "LV-1", "ExifIFD:DateTimeOriginal": DATE,
              "IFD0:Artist": "Erika Muster", "IFD0:Orientation": orientation, "XMP-xmp:Rating": 4,
              "XMP-dc:Subject": "Berge", "IPTC:Keywords": "Alpen", "GPS:GPSLatitude": 47.5,
              "GPS:GPSLongitude": 11.25, "ExifIFD:ExifImageWidth": size[0], "ExifIFD:ExifImageHeight": size[1]}
    if icc:
        expect["ICC_Profile:ProfileDescription"] = "Lumivant Test RGB"
    wrong = {k: (t.get(k), v) for k, v in expect.items() if t.get(k) != v}
    assert not wrong, f"exiftool reads (got, wanted): {wrong}"
    assert not [k for k in t if k.startswith("IFD1:")], "the thumbnail is dropped"
    assert "ExifTool:Warning" not in t and "ExifTool:Error" not in t, t.get("ExifTool:Warning", t.get("ExifTool:Error"))
    if "extxmp" in photo or "bigxmp" in photo:
        assert len(t.get("XMP-dc:Description", "")) == 70000, "the XMP beyond one segment is read back whole"
        assert ("XMP-xmpNote:HasExtendedXMP" in t) == result.endswith(".jpg"), "only a JPEG names an extension"
    r = run("exiv2", "-q", "-pa", result, check=False)
    assert r.returncode == 0 and not r.stderr.strip(), f"exiv2: {r.returncode} {r.stderr.strip()[:200]}"
    for key in ("Exif.Image.Make", "Exif.Photo.DateTimeOriginal", "Exif.GPSInfo.GPSLatitude", "Xmp.xmp.Rating",
                "Iptc.Application2.Keywords"):
        assert key in r.stdout, f"exiv2 does not read {key}"
    assert signature(result) == signature(output), "the pixels changed"


def carry(photo, output, name):
    result = path(name + ".out" + os.path.splitext(output)[1])
    if os.path.exists(result):
        os.remove(result)
    with open(photo, "rb") as f:
        before = f.read()
    outcome = run(TOOL, photo, output, result).stdout.strip()
    with open(photo, "rb") as f:
        assert f.read() == before, "the photo is only read"
    return outcome, result


def cases(photos):
    p = photos
    out = [  # name, photo, output, outcome, orientation, ICC expected
        ("jpeg_le_thumbnail_orientation6", p["le_thumb_o6"], path("fused.jpg"), "Done", 6, False),
        ("jpeg_be_orientation8", p["be_o8"], path("fused.jpg"), "Done", 8, False),
        ("jpeg_icc_extended_xmp_orientation1", p["o1_icc_extxmp"], path("fused.jpg"), "Done", 1, True),
        ("jpeg_photo_into_tiff", p["le_thumb_o6"], path("fused.tif"), "Done", 6, False),
        ("be_jpeg_photo_into_tiff", p["be_o8"], path("fused.tif"), "Done", 8, False),
        ("tiff_photo_into_jpeg", p["tiff_o6_icc"], path("fused.jpg"), "Done", 6, True),
        ("jpeg_extended_xmp_into_tiff", p["o1_icc_extxmp"], path("fused.tif"), "Done", 1, True),
        ("tiff_large_xmp_into_jpeg", p["tiff_o6_bigxmp"], path("fused.jpg"), "Done", 6, False),
        ("tiff_photo_into_tiff", p["tiff_o6_icc"], path("fused.tif"), "Done", 6, True),
        ("photo_without_pixel_dimensions", p["no_dimensions"], path("fused.jpg"), "Done", 6, False),
        ("photo_without_pixel_dimensions_into_tiff", p["no_dimensions"], path("fused.tif"), "Done", 6, False),
        ("photo_without_metadata", p["plain"], path("fused.jpg"), "NothingToCarry", 0, False),
        ("truncated_photo", p["truncated"], path("fused.jpg"), "SourceDamaged", 0, False),
        ("png_output", p["le_thumb_o6"], path("fused.png"), "UnsupportedOutput", 0, False),
    ]
    return out


def run_case(name, photo, output, outcome, orientation, icc, size=FUSED):
    got, result = carry(photo, output, name)
    assert got == outcome, f"outcome {got}, wanted {outcome}"
    if outcome == "Done":
        check_done(photo, output, result, orientation, icc, size)
    else:
        assert not os.path.exists(result), "no file is written"


def main():
    suite = ET.Element("testsuite", name="MetadataOracle")
    failures = 0

    def record(name, fn):
        nonlocal failures
        case = ET.SubElement(suite, "testcase", name=name, classname="MetadataOracle")
        try:
            fn()
        except Exception as e:  # a failed case is recorded, the others still run
            failures += 1
            ET.SubElement(case, "failure", message=str(e))
            print(f"FAILED {name}: {e}")
        else:
            print(f"ok {name}")

    photos = {}
    record("fixtures", lambda: photos.update(fixtures()))
    if photos:
        for c in cases(photos):
            record(c[0], lambda c=c: run_case(*c))
        dark = []
        record("enfuse_fixtures", lambda: dark.append(enfuse_outputs(photos["le_thumb_o6"])))
        if dark:
            size = (240, 150)
            record("enfuse_jpeg", lambda: run_case("enfuse_jpeg", dark[0], path("enfused.jpg"), "Done", 6, False, size))
            record("enfuse_tiff_orientation", lambda: run_case("enfuse_tiff", dark[0], path("enfused.tif"), "Done", 6, False, size))
    suite.set("tests", str(len(suite)))
    suite.set("failures", str(failures))
    root = ET.Element("testsuites")
    root.append(suite)
    ET.ElementTree(root).write(XML)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
