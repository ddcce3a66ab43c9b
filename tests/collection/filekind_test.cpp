#include "collection/filekind.h"

#include <gtest/gtest.h>

#include "base/fileio.h"
#include "collection/kindreaders.h"
#include "support/corpus.h"

namespace varnel {
namespace {

using Kind = TFileKind;

TFileKindInfo KindOf(const std::string& relative) {
  return DetectFileKind(test::CorpusPath(relative));
}

TFileKindInfo KindOfBytes(std::vector<uint8_t> bytes) {
  return DetectFileKindOfBytes(bytes);
}

TEST(FileKindTest, EmptyShortMissingAndUnreadableFiles) {
  test::TempDir dir;
  WriteFileAtomic(dir.File("empty"), std::vector<uint8_t>{});
  WriteFileAtomic(dir.File("three"), std::vector<uint8_t>{'M', 'Z', 0});
  EXPECT_EQ(DetectFileKind(dir.File("empty")).kind, Kind::fkEmpty);
  EXPECT_EQ(DetectFileKind(dir.File("three")).kind, Kind::fkUnrecognised);
  EXPECT_EQ(DetectFileKind(dir.File("missing")).kind, Kind::fkUnrecognised);
  EXPECT_EQ(DetectFileKind(dir.Path()).kind, Kind::fkUnrecognised);
}

TEST(FileKindTest, RealFilesOfEachFamily) {
  VARNEL_SKIP_WITHOUT_CORPUS_DIR();
  EXPECT_EQ(KindOf("ico/python.ico").kind, Kind::fkIcon);
  EXPECT_EQ(KindOf("ico/python.ico").subKind, 1);
  EXPECT_EQ(KindOf("cur/sample.cur").subKind, 2);
  EXPECT_EQ(KindOf("ani/test-animation.ani").kind, Kind::fkAniCursor);
  // Its RIFF size leaves 34 bytes over: not taken for an animated cursor by its header.
  EXPECT_EQ(KindOf("ani/test.ani").kind, Kind::fkUnrecognised);
  EXPECT_EQ(KindOf("bmp/rgb24.bmp").kind, Kind::fkBitmap);
  EXPECT_EQ(KindOf("png/basn6a08.png").kind, Kind::fkPng);
  EXPECT_EQ(KindOf("gif/animation.gif").kind, Kind::fkGif);
  TFileKindInfo jpeg = KindOf("jpeg/sample.jpg");
  EXPECT_EQ(jpeg.kind, Kind::fkJpeg);
  EXPECT_EQ(jpeg.subKind, 3);
  EXPECT_EQ(KindOf("jpeg/hopper_gray.jpg").subKind, 1);
  EXPECT_EQ(KindOf("jpeg/pil_sample_cmyk.jpg").kind, Kind::fkCmykJpeg);
  EXPECT_EQ(KindOf("psd/hopper.psd").kind, Kind::fkPsd);
  EXPECT_EQ(KindOf("psd/8bit-photoshop.psb").kind, Kind::fkPsd);
  EXPECT_EQ(KindOf("psd/8bit-photoshop.psb").subKind, 2);  // version 2, a large document
  EXPECT_EQ(KindOf("pcx/rgb.pcx").kind, Kind::fkPcx);
  // every family, the large ones of 1024-pixel PNGs and those of current types only included
  for (const char* name : {"pillow.icns", "pillow3.icns", "icp4rgb.icns", "test1.icns"})
    EXPECT_EQ(KindOf(std::string("icns/") + name).kind, Kind::fkMacIcon) << name;
  EXPECT_EQ(KindOf("tga/200x32_rgb_bl_raw.tga").kind, Kind::fkTarga);
  EXPECT_EQ(KindOf("rar/test_read_format_rar.rar").kind, Kind::fkRar);
  EXPECT_EQ(KindOf("rar/test_read_format_rar5_stored.rar").kind, Kind::fkZip);
}

TEST(FileKindTest, ModulesByTheirHeaderSignature) {
  std::vector<uint8_t> mz(128, 0);
  mz[0] = 'M', mz[1] = 'Z', mz[60] = 64;
  std::vector<uint8_t> pe = mz, ne = mz;
  pe[64] = 'P', pe[65] = 'E';
  ne[64] = 'N', ne[65] = 'E';
  EXPECT_EQ(KindOfBytes(pe).kind, Kind::fkModule);
  EXPECT_EQ(KindOfBytes(pe).subKind, 2);
  EXPECT_EQ(KindOfBytes(ne).subKind, 1);
  EXPECT_EQ(KindOfBytes(mz).kind, Kind::fkUnrecognised);
  mz[60] = 200;  // header offset past the end
  EXPECT_EQ(KindOfBytes(mz).kind, Kind::fkUnrecognised);
}

TEST(FileKindTest, HeaderOnlyFamilies) {
  std::vector<uint8_t> res(32, 0);
  res[4] = 32, res[8] = res[9] = 0xFF, res[12] = res[13] = 0xFF;
  EXPECT_EQ(KindOfBytes(res).kind, Kind::fkResource32);
  std::vector<uint8_t> res16 = {0xFF, 0x02, 0x00, 'B', 'M', 'P'};
  res16.resize(24);
  EXPECT_EQ(KindOfBytes(res16).kind, Kind::fkResource16);
  std::vector<uint8_t> icc = {'I', 'C', 'C', '0', 1, 0, 0, 0, 'I', 'C', 'O', 'N', 0, 0, 0, 0};
  EXPECT_EQ(KindOfBytes(icc).kind, Kind::fkCollection);
  icc[4] = 2;
  EXPECT_EQ(KindOfBytes(icc).kind, Kind::fkUnrecognised);
  std::vector<uint8_t> bare(40, 0);
  bare[0] = 1, bare[18] = 40;
  EXPECT_EQ(KindOfBytes(bare).kind, Kind::fkIcon);
  EXPECT_EQ(KindOfBytes(bare).subKind, 4);
  EXPECT_EQ(KindOfBytes({'I', 'I', '*', 0, 8, 0}).subKind, 42);
  EXPECT_EQ(KindOfBytes({'P', 'K', 3, 4, 0}).kind, Kind::fkZip);
  EXPECT_EQ(KindOfBytes({0xB7, 'I', 'C', 'P', 3, 0}).subKind, 3);
  std::vector<uint8_t> riff = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'P', 'A', 'L', ' '};
  EXPECT_EQ(KindOfBytes(riff).kind, Kind::fkRiffPalette);
  riff[4] = 100;  // the size does not fit the file
  EXPECT_EQ(KindOfBytes(riff).kind, Kind::fkUnrecognised);
}

// The table of formats: one row for every kind, named as info --json prints it; the RIFF forms
// the rows name decide a RIFF file's kind.
TEST(FileKindTest, EveryKindHasOneRow) {
  std::vector<int> rows(kFileKindCount, 0);
  for (const FileFormat* format : FileFormats())
    if (format->kind) ++rows[size_t(*format->kind)];
  for (int kind = 0; kind < kFileKindCount; ++kind) {
    EXPECT_EQ(rows[size_t(kind)], 1) << kind;
    EXPECT_EQ(FormatOf(Kind(kind)).kind, Kind(kind));
    EXPECT_EQ(std::string(FileKindName(Kind(kind))).substr(0, 2), "fk");
  }
  EXPECT_STREQ(FileKindName(Kind::fkWebp), "fkWebp");
  std::vector<uint8_t> webp = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'E', 'B', 'P'};
  EXPECT_EQ(KindOfBytes(webp).kind, Kind::fkWebp);
}

}  // namespace
}  // namespace varnel
