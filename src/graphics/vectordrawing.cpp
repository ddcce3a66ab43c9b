#include "graphics/vectordrawing.h"

#include <cairo.h>
#include <librsvg/rsvg.h>
#include <poppler.h>

#include <cmath>
#include <memory>

#include "base/dynamiclibrary.h"
#include "base/errors.h"
#include "graphics/glibfunctions.h"

namespace varnel {

namespace {

// Pixels per PDF point: pages are drawn at 96 pixels per inch.
constexpr double kPixelsPerPoint = 96.0 / 72.0;

// The three libraries are loaded apart: SVG drawings need no Poppler, PDF pages no librsvg.
struct CairoFunctions {
  DynamicLibrary library{"libcairo.so.2", "libcairo2"};
  VARNEL_LIBRARY_FUNCTION(library, cairo_image_surface_create);
  VARNEL_LIBRARY_FUNCTION(library, cairo_image_surface_get_data);
  VARNEL_LIBRARY_FUNCTION(library, cairo_image_surface_get_stride);
  VARNEL_LIBRARY_FUNCTION(library, cairo_surface_status);
  VARNEL_LIBRARY_FUNCTION(library, cairo_surface_flush);
  VARNEL_LIBRARY_FUNCTION(library, cairo_surface_destroy);
  VARNEL_LIBRARY_FUNCTION(library, cairo_create);
  VARNEL_LIBRARY_FUNCTION(library, cairo_destroy);
  VARNEL_LIBRARY_FUNCTION(library, cairo_scale);
};

struct RsvgFunctions {
  DynamicLibrary library{"librsvg-2.so.2", "librsvg2-2"};
  VARNEL_LIBRARY_FUNCTION(library, rsvg_handle_new_from_data);
  VARNEL_LIBRARY_FUNCTION(library, rsvg_handle_set_dpi);
  VARNEL_LIBRARY_FUNCTION(library, rsvg_handle_get_intrinsic_size_in_pixels);
  VARNEL_LIBRARY_FUNCTION(library, rsvg_handle_get_intrinsic_dimensions);
  VARNEL_LIBRARY_FUNCTION(library, rsvg_handle_render_document);
};

struct PopplerFunctions {
  DynamicLibrary library{"libpoppler-glib.so.8", "libpoppler-glib8"};
  VARNEL_LIBRARY_FUNCTION(library, poppler_document_new_from_bytes);
  VARNEL_LIBRARY_FUNCTION(library, poppler_document_get_n_pages);
  VARNEL_LIBRARY_FUNCTION(library, poppler_document_get_page);
  VARNEL_LIBRARY_FUNCTION(library, poppler_page_get_size);
  VARNEL_LIBRARY_FUNCTION(library, poppler_page_render);
};

constexpr auto Cairo = &LoadedFunctions<CairoFunctions>;
constexpr auto Rsvg = &LoadedFunctions<RsvgFunctions>;
constexpr auto Poppler = &LoadedFunctions<PopplerFunctions>;

struct SurfaceRelease {
  void operator()(cairo_surface_t* surface) const { Cairo().cairo_surface_destroy(surface); }
};
struct ContextRelease {
  void operator()(cairo_t* context) const { Cairo().cairo_destroy(context); }
};
struct BytesRelease {
  void operator()(GBytes* bytes) const { GLib().g_bytes_unref(bytes); }
};

[[noreturn]] void RaiseInvalid(const char* what) {
  throw EInvalidGraphic(std::string(what) + " is not valid");
}

GObjectPtr<RsvgHandle> OpenSvg(std::span<const uint8_t> data) {
  GErrorHolder error;
  // The handle sniffs gzip compression itself, so SVGZ data needs no separate path.
  GObjectPtr<RsvgHandle> handle(
      Rsvg().rsvg_handle_new_from_data(data.data(), data.size(), error.Out()));
  if (!handle || error.Failed()) RaiseInvalid("SVG drawing");
  Rsvg().rsvg_handle_set_dpi(handle.get(), 96);
  return handle;
}

std::optional<DrawingSize> SvgSize(RsvgHandle* handle) {
  DrawingSize size;
  if (Rsvg().rsvg_handle_get_intrinsic_size_in_pixels(handle, &size.width, &size.height))
    return size;
  gboolean hasWidth = false, hasHeight = false, hasViewBox = false;
  RsvgLength width, height;
  RsvgRectangle viewBox;
  Rsvg().rsvg_handle_get_intrinsic_dimensions(handle, &hasWidth, &width, &hasHeight, &height,
                                              &hasViewBox, &viewBox);
  if (!hasViewBox) return std::nullopt;
  return DrawingSize{viewBox.width, viewBox.height};
}

struct PdfPage {
  GObjectPtr<PopplerDocument> document;
  GObjectPtr<PopplerPage> page;
};

// The bytes must outlive the page: Poppler reads them in place.
PdfPage OpenPdfPage(std::span<const uint8_t> data) {
  std::unique_ptr<GBytes, BytesRelease> bytes(GLib().g_bytes_new_static(data.data(), data.size()));
  GErrorHolder error;
  PdfPage result;
  result.document.reset(
      Poppler().poppler_document_new_from_bytes(bytes.get(), nullptr, error.Out()));
  if (!result.document || error.Failed()) RaiseInvalid("PDF document");
  if (Poppler().poppler_document_get_n_pages(result.document.get()) < 1)
    RaiseInvalid("PDF document");
  result.page.reset(Poppler().poppler_document_get_page(result.document.get(), 0));
  if (!result.page) RaiseInvalid("PDF document");
  return result;
}

DrawingSize PdfSize(PopplerPage* page) {
  DrawingSize size;
  Poppler().poppler_page_get_size(page, &size.width, &size.height);
  return {size.width * kPixelsPerPoint, size.height * kPixelsPerPoint};
}

int SideOf(double length) {
  if (!(length > 0) || length > kMaxDrawingSide) return 0;
  return std::max(1, int(std::ceil(length - 1e-6)));
}

// Cairo's premultiplied native-endian ARGB as straight-alpha BGRA rows.
TBitmap FromSurface(cairo_surface_t* surface, int width, int height) {
  Cairo().cairo_surface_flush(surface);
  const uint8_t* data = Cairo().cairo_image_surface_get_data(surface);
  int stride = Cairo().cairo_image_surface_get_stride(surface);
  TBitmap bitmap(width, height, PixelFormat::Bits32);
  for (int y = 0; y < height; ++y) {
    const uint32_t* source = reinterpret_cast<const uint32_t*>(data + int64_t(y) * stride);
    uint8_t* row = bitmap.ScanLine(y);
    for (int x = 0; x < width; ++x) {
      uint32_t argb = source[x];
      uint32_t alpha = argb >> 24;
      auto straight = [alpha](uint32_t channel) {
        return alpha ? uint8_t(std::min<uint32_t>(255, (channel * 255 + alpha / 2) / alpha)) : 0;
      };
      row[4 * x] = straight(argb & 0xFF);
      row[4 * x + 1] = straight((argb >> 8) & 0xFF);
      row[4 * x + 2] = straight((argb >> 16) & 0xFF);
      row[4 * x + 3] = uint8_t(alpha);
    }
  }
  return bitmap;
}

class Canvas {
 public:
  Canvas(int width, int height)
      : surface_(Cairo().cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
        context_(Cairo().cairo_create(surface_.get())) {
    if (Cairo().cairo_surface_status(surface_.get()) != CAIRO_STATUS_SUCCESS)
      throw EInvalidGraphic("Out of memory for a drawing");
  }
  cairo_t* Context() { return context_.get(); }
  cairo_surface_t* Surface() { return surface_.get(); }

 private:
  std::unique_ptr<cairo_surface_t, SurfaceRelease> surface_;
  std::unique_ptr<cairo_t, ContextRelease> context_;
};

void CheckTargetSize(int width, int height) {
  if (width < 1 || height < 1 || width > kMaxDrawingSide || height > kMaxDrawingSide ||
      int64_t(width) * height > kMaxDrawingPixels)
    throw EInvalidGraphic("Drawing size " + std::to_string(width) + "x" + std::to_string(height) +
                          " is out of range");
}

TBitmap RenderSvg(std::span<const uint8_t> data, int width, int height) {
  GObjectPtr<RsvgHandle> handle = OpenSvg(data);
  if (width == 0 && height == 0) {
    // librsvg has no limit of its own on the size drawn: check it before anything is drawn.
    auto size = SvgSize(handle.get());
    if (!size) throw EInvalidGraphic("SVG drawing has no size");
    width = SideOf(size->width), height = SideOf(size->height);
  }
  CheckTargetSize(width, height);
  Canvas canvas(width, height);
  RsvgRectangle viewport{0, 0, double(width), double(height)};
  GErrorHolder error;
  if (!Rsvg().rsvg_handle_render_document(handle.get(), canvas.Context(), &viewport, error.Out()))
    RaiseInvalid("SVG drawing");
  return FromSurface(canvas.Surface(), width, height);
}

TBitmap RenderPdf(std::span<const uint8_t> data, int width, int height) {
  PdfPage pdf = OpenPdfPage(data);
  DrawingSize size = PdfSize(pdf.page.get());
  if (width == 0 && height == 0) width = SideOf(size.width), height = SideOf(size.height);
  CheckTargetSize(width, height);
  if (!(size.width > 0 && size.height > 0)) RaiseInvalid("PDF document");
  Canvas canvas(width, height);
  Cairo().cairo_scale(canvas.Context(), width / size.width * kPixelsPerPoint,
                      height / size.height * kPixelsPerPoint);
  Poppler().poppler_page_render(pdf.page.get(), canvas.Context());
  return FromSurface(canvas.Surface(), width, height);
}

}  // namespace

std::optional<DrawingSize> DrawingSizeOf(std::span<const uint8_t> data, DrawingFormat format) {
  try {
    if (format == DrawingFormat::Pdf) return PdfSize(OpenPdfPage(data).page.get());
    return SvgSize(OpenSvg(data).get());
  } catch (const EInvalidGraphic&) {
    return std::nullopt;
  }
}

TBitmap RenderDrawing(std::span<const uint8_t> data, DrawingFormat format, int width, int height) {
  if (width < 0 || height < 0 || width > kMaxDrawingSide || height > kMaxDrawingSide)
    CheckTargetSize(width, height);
  return format == DrawingFormat::Pdf ? RenderPdf(data, width, height)
                                      : RenderSvg(data, width, height);
}

}  // namespace varnel
