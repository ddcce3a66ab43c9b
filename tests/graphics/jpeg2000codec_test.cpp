// JPEG 2000 pictures Pillow writes losslessly (bare codestreams and JP2 files, grey, grey with
// alpha, colour with alpha) decode to the pixels it wrote; damaged data raises.

#include <gtest/gtest.h>

#include "base/errors.h"
#include "base/fileio.h"
#include "graphics/jpeg2000codec.h"
#include "support/corpus.h"
#include "support/process.h"

namespace varnel {
namespace {

// Writes NAME (mode MODE) and NAME.rgba, the same 23 x 11 picture as raw RGBA.
constexpr char kWriteScript[] = R"(
import sys
from PIL import Image
out = sys.argv[1]
for name, mode in (('grey.j2k', 'L'), ('greyalpha.jp2', 'LA'), ('rgba.j2k', 'RGBA'), ('rgb.jp2', 'RGB')):
    im = Image.new('RGBA', (23, 11))
    im.putdata([(x * 11, y * 23, (x * y) % 256, 255 - x * 5) for y in range(11) for x in range(23)])
    im = im.convert(mode)
    im.save(out + '/' + name)
    open(out + '/' + name + '.rgba', 'wb').write(im.convert('RGBA').tobytes())
)";

TEST(Jpeg2000CodecTest, LosslessPicturesOfEveryComponentCount) {
  test::TempDir dir;
  test::WriteText(dir.File("write.py"), kWriteScript);
  if (test::RunCommand("/usr/bin/python3 " + dir.File("write.py") + " " + dir.Path()).status != 0)
    GTEST_SKIP() << "Pillow with JPEG 2000 is not installed";
  for (const char* name : {"grey.j2k", "greyalpha.jp2", "rgba.j2k", "rgb.jp2"}) {
    std::vector<uint8_t> file = ReadWholeFile(dir.File(name));
    EXPECT_TRUE(HasJpeg2000Signature(file)) << name;
    TBitmap bitmap = DecodeJpeg2000(file);
    std::vector<uint8_t> expected = ReadWholeFile(dir.File(std::string(name) + ".rgba"));
    ASSERT_EQ(bitmap.Width(), 23);
    ASSERT_EQ(bitmap.Height(), 11);
    int different = 0;
    for (int y = 0; y < 11; ++y)
      for (int x = 0; x < 23; ++x) {
        const uint8_t* mine = bitmap.ScanLine(y) + 4 * x;
        const uint8_t* theirs = &expected[size_t(y * 23 + x) * 4];
        different += mine[2] != theirs[0] || mine[1] != theirs[1] || mine[0] != theirs[2] ||
                     mine[3] != theirs[3];
      }
    EXPECT_EQ(different, 0) << name;
    file.resize(file.size() / 2);
    EXPECT_THROW(DecodeJpeg2000(file), EInvalidGraphic) << name;
  }
  EXPECT_THROW(DecodeJpeg2000({}), EInvalidGraphic);
}

}  // namespace
}  // namespace varnel
