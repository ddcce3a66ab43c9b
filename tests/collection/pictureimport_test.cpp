// Picture kinds in the file import: drawings and data URIs recognised by content, PNG pictures
// held as their own bytes, and a PDF page imported through the built-in renderer.

#include <gtest/gtest.h>

#include <cairo-pdf.h>

#include "base/fileio.h"
#include "collection/drawingkind.h"
#include "collection/fileimport.h"
#include "collection/kindreaders.h"
#include "graphics/pngcodec.h"
#include "icons/bitmapfix32.h"
#include "icons/imagefileloader.h"
#include "support/corpus.h"
#include "support/testcollection.h"

namespace varnel {
namespace {

using test::TempDir;
using test::WriteText;

TFileKindInfo KindOfText(const std::string& text) {
  return DetectFileKindOfBytes(
      std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

TEST(PictureKinds, DrawingsAndDataUrisAreRecognisedByContent) {
  EXPECT_EQ(KindOfText("%PDF-1.5\n...").subKind, kDrawingPdf);
  TFileKindInfo svg = KindOfText("\xEF\xBB\xBF  <?xml version='1.0'?>\n<svg width='4'/>");
  EXPECT_EQ(svg.kind, TFileKind::fkVectorDrawing);
  EXPECT_EQ(svg.subKind, kDrawingSvg);
  EXPECT_EQ(KindOfText("  DATA:image/png;base64,iVBOR").kind, TFileKind::fkDataUri);
  EXPECT_EQ(KindOfText("<html><body>no drawing</body></html>").kind, TFileKind::fkUnrecognised);
  // A page holding a drawing is a page; a drawing after a long prolog is a drawing.
  EXPECT_EQ(KindOfText("<!DOCTYPE html><html><body><svg width='4'/></body></html>").kind,
            TFileKind::fkUnrecognised);
  EXPECT_EQ(KindOfText("<?xml version='1.0'?><!-- <html> --><!DOCTYPE svg PUBLIC '-//W3C//DTD "
                       "SVG 1.1//EN' [<!ENTITY ns 'x'>]>\n<svg:svg width='4'/>")
                .kind,
            TFileKind::fkVectorDrawing);
  EXPECT_EQ(KindOfText("<svgfont/>").kind, TFileKind::fkUnrecognised);
  EXPECT_EQ(KindOfText("plain text, not a picture").kind, TFileKind::fkUnrecognised);
  // gzip-compressed SVG, made with the gzip tool
  TempDir dir;
  WriteText(dir.File("d.svg"), "<svg xmlns='http://www.w3.org/2000/svg' width='4' height='4'/>");
  ASSERT_EQ(std::system(("gzip -c " + dir.File("d.svg") + " > " + dir.File("d.svgz")).c_str()), 0);
  TFileKindInfo svgz = DetectFileKind(dir.File("d.svgz"));
  EXPECT_EQ(svgz.kind, TFileKind::fkVectorDrawing);
  EXPECT_EQ(svgz.subKind, kDrawingSvgz);
  test::TestCollection collection;
  ImportFile(collection.lib, dir.File("d.svgz"), nullptr);
  ASSERT_EQ(collection.lib.Count(), 1);
  // A drawing is drawn at each usual icon size, not only at the size it declares.
  std::vector<int> widths;
  for (const auto& image : collection.lib.Items().Icons(0)->Images())
    widths.push_back(image->ImageWidth());
  EXPECT_EQ(widths, (std::vector<int>{16, 32, 48, 256}));
}

// Issue: a PNG picture imported at its own size is kept as its PNG bytes, with the entry and
// pixels the decoded form would have.
TEST(PictureKinds, PngPicturesAreHeldAsTheirBytesWithTheEntryOfTheirDecodedForm) {
  std::vector<std::string> files = test::CorpusFiles("png", {".png"});
  VARNEL_SKIP_WITHOUT_FILES(files, "PNG samples");
  const FileFormat& reader = FormatOf(TFileKind::fkPng);
  int packedCount = 0;
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    MappedFile mapped(file);
    auto packed = reader.readIcon(mapped);
    if (!packed) continue;  // a picture kept as a DIB
    ++packedCount;
    const TSubIcon& image = *packed->Images()[0];
    EXPECT_TRUE(image.Packed());
    EXPECT_EQ(image.Data(), std::vector<uint8_t>(mapped.Bytes().begin(), mapped.Bytes().end()));
    TPicture picture = reader.readPicture(mapped);
    TSubIconList decoded;
    decoded.AddFromBitmap(picture.color, &*picture.mask, 0);
    EXPECT_EQ(image.ImageWidth(), decoded[0]->ImageWidth());
    EXPECT_EQ(image.BitsPerPixel(), decoded[0]->BitsPerPixel());
    EXPECT_TRUE(image.SameImage(*decoded[0]));
  }
  EXPECT_GE(packedCount, int(files.size()) - 2);
}

TEST(PictureKinds, PngCutShortIsNoPackedImageButADecodingError) {
  TempDir dir;
  std::vector<uint8_t> png = EncodePng(TBitmap(32, 32, PixelFormat::Bits32));
  png.resize(40);  // the header chunk and a little more
  std::string path = dir.File("cut.png");
  WriteFileAtomic(path, png);
  MappedFile mapped(path);
  const FileFormat& reader = FormatOf(TFileKind::fkPng);
  EXPECT_EQ(reader.readIcon(mapped), nullptr);
  EXPECT_THROW(reader.readPicture(mapped), EInvalidGraphic);
}

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
  auto* bytes = static_cast<std::vector<uint8_t>*>(closure);
  bytes->insert(bytes->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

TEST(PictureKinds, PdfPagesImportAtTheIconSizesAndDataUrisAsOneImage) {
  TempDir dir;
  std::vector<uint8_t> pdf;
  cairo_surface_t* surface = cairo_pdf_surface_create_for_stream(AppendBytes, &pdf, 24, 24);
  cairo_t* context = cairo_create(surface);
  cairo_set_source_rgb(context, 1, 0, 0);
  cairo_paint(context);
  cairo_destroy(context);
  cairo_surface_destroy(surface);
  // A misleading extension: the content decides.
  WriteFileAtomic(dir.File("page.dat"), pdf);
  WriteFileAtomic(dir.File("dot.png"), EncodePng(TBitmap(1, 1, PixelFormat::Bits24)));
  std::string encode = "(printf 'data:image/png;base64,'; base64 " + dir.File("dot.png") + ") > " +
                       dir.File("uri.b64");
  ASSERT_EQ(std::system(encode.c_str()), 0);
  test::TestCollection collection;
  std::vector<std::string> errors;
  ImportFile(collection.lib, dir.File("page.dat"), &errors);
  ImportFile(collection.lib, dir.File("uri.b64"), &errors);
  EXPECT_TRUE(errors.empty()) << errors.front();
  ASSERT_EQ(collection.lib.Count(), 2);
  // Rendered once (its extension names no drawing reader) and scaled to each size.
  ASSERT_EQ(collection.lib.Items().Icons(0)->Images().Count(), 4);
  const TSubIcon& page = *collection.lib.Items().Icons(0)->Images()[1];
  EXPECT_EQ(page.ImageWidth(), 32);
  TBitmap composite;
  page.GetBitmaps(&composite, nullptr, clWhite, nullptr);
  EXPECT_EQ(composite.GetPixel(16, 16), RGB(255, 0, 0));
  EXPECT_EQ(collection.lib.Items().Icons(1)->Images()[0]->ImageWidth(), 1);
}

}  // namespace
}  // namespace varnel
