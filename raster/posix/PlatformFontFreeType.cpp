// Platform fonts on Linux: fontconfig chooses the face file for a logical font
// description, FreeType renders it. A font is made as a Windows logical font
// would be: the height is the cell height (ascent + descent) when positive,
// the character height when negative.

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/RecursiveLock.h"
#include "raster/BitmapRows.h"
#include "raster/RAS_PlatformFont.h"

struct RAS_PlatformFont {
  FT_Face face = nullptr;
  int cellHeight = 0;
  int ascent = 0;  // cell top to baseline, pixels
  FT_Int32 loadFlags = FT_LOAD_DEFAULT;
  FT_Render_Mode renderMode = FT_RENDER_MODE_NORMAL;
  bool syntheticBold = false;
  bool syntheticItalic = false;
  std::string family;
};

namespace {

constexpr const char* kFallbackFamily = "DejaVu Sans";
constexpr int kDefaultEmPixels = 12;

// The FreeType library and the fontconfig configuration are shared by every
// font and released with the last one, so that unloading the module leaves
// nothing behind. Font creation may come from several editors' threads.
struct FontSystem {
  platform::RecursiveLock lock;
  FT_Library library = nullptr;
  FcConfig* config = nullptr;
  int liveFonts = 0;
  ~FontSystem();
};

// Released when the module unloads. It comes into being with the first font,
// before any process-wide font cache holds one, so those caches (destroyed in
// reverse order of creation) release their fonts while it still exists.
FontSystem& System() {
  static FontSystem system;
  return system;
}

bool StartFontSystem(FontSystem& s) {
  if (s.library && s.config) {
    return true;
  }
  if (!s.library && FT_Init_FreeType(&s.library) != 0) {
    s.library = nullptr;
    return false;
  }
  if (!s.config) {
    s.config = FcInitLoadConfigAndFonts();
  }
  return s.config != nullptr;
}

void StopFontSystemIfIdle(FontSystem& s) {
  if (s.liveFonts > 0) {
    return;
  }
  if (s.config) {
    FcConfigDestroy(s.config);
    s.config = nullptr;
  }
  if (s.library) {
    FT_Done_FreeType(s.library);
    s.library = nullptr;
  }
}

FontSystem::~FontSystem() { StopFontSystemIfIdle(*this); }

struct MatchedFace {
  std::string file;
  int index = 0;
  std::string family;
  int weight = FC_WEIGHT_REGULAR;
  int slant = FC_SLANT_ROMAN;
  bool embolden = false;
};

// Asks fontconfig for the installed face closest to family / weight / slant.
bool MatchFace(FcConfig* config, const std::string& family, int weight, bool italic, MatchedFace* out) {
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) {
    return false;
  }
  if (!family.empty()) {
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  }
  FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) {
    return false;
  }
  FcChar8* file = nullptr;
  bool found = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file;
  if (found) {
    out->file = reinterpret_cast<const char*>(file);
    FcChar8* name = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch && name) {
      out->family = reinterpret_cast<const char*>(name);
    }
    FcPatternGetInteger(match, FC_INDEX, 0, &out->index);
    FcPatternGetInteger(match, FC_WEIGHT, 0, &out->weight);
    FcPatternGetInteger(match, FC_SLANT, 0, &out->slant);
    FcBool embolden = FcFalse;
    if (FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden) == FcResultMatch) {
      out->embolden = embolden == FcTrue;
    }
  }
  FcPatternDestroy(match);
  return found;
}

int RoundPixels(FT_Pos value26_6) { return static_cast<int>((value26_6 + 32) >> 6); }

// Sizes the face so that its cell or character height is as described, and
// stretches it horizontally when an average character width is given.
bool SizeFace(RAS_PlatformFont* font, const RAS_PlatformFontDesc& desc) {
  FT_Face face = font->face;
  if (desc.height > 0) {
    FT_Size_RequestRec request{};
    request.type = FT_SIZE_REQUEST_TYPE_REAL_DIM;
    request.height = static_cast<FT_Long>(desc.height) * 64;
    if (FT_Request_Size(face, &request) != 0) {
      return false;
    }
  } else {
    long em = desc.height < 0 ? -static_cast<long>(desc.height) : kDefaultEmPixels;
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(std::min(em, 32767L))) != 0) {
      return false;
    }
  }
  FT_Fixed yScale = face->size->metrics.y_scale;
  font->ascent = RoundPixels(FT_MulFix(face->ascender, yScale));
  int naturalCell = RoundPixels(FT_MulFix(face->ascender - face->descender, yScale));
  font->cellHeight = desc.height > 0 ? desc.height : naturalCell;

  const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (desc.width > 0 && os2 && os2->xAvgCharWidth > 0) {
    double natural = FT_MulFix(os2->xAvgCharWidth, face->size->metrics.x_scale) / 64.0;
    if (natural > 0.0) {
      FT_Matrix stretch{static_cast<FT_Fixed>(desc.width / natural * 65536.0), 0, 0, 0x10000};
      FT_Set_Transform(face, &stretch, nullptr);
    }
  }
  return font->cellHeight > 0;
}

// Loads (and with render, rasterises) one character into the face's slot.
bool LoadChar(RAS_PlatformFont* font, uint32_t code, bool render) {
  FT_UInt index = FT_Get_Char_Index(font->face, code);
  if (FT_Load_Glyph(font->face, index, font->loadFlags) != 0) {
    return false;
  }
  FT_GlyphSlot slot = font->face->glyph;
  if (font->syntheticItalic) {
    FT_GlyphSlot_Oblique(slot);
  }
  if (font->syntheticBold) {
    FT_GlyphSlot_Embolden(slot);
  }
  return !render || FT_Render_Glyph(slot, font->renderMode) == 0;
}

}  // namespace

RAS_PlatformFont* RAS_CreatePlatformFont(const RAS_PlatformFontDesc& desc) {
  // Rotated text is not supported by the glyph renderer; refuse it rather
  // than draw it unrotated.
  if (desc.escapement != 0 || desc.orientation != 0) {
    return nullptr;
  }
  std::string family(desc.face, strnlen(desc.face, sizeof(desc.face)));
  int weight = desc.weight > 0 ? std::min(desc.weight, 1000) : 400;

  FontSystem& system = System();
  platform::LockGuard guard(system.lock);
  if (!StartFontSystem(system)) {
    StopFontSystemIfIdle(system);
    return nullptr;
  }
  RAS_PlatformFont* font = new RAS_PlatformFont;
  MatchedFace matched;
  bool opened = false;
  for (const std::string& candidate : {family, std::string(kFallbackFamily)}) {
    if (MatchFace(system.config, candidate, weight, desc.italic, &matched) &&
        FT_New_Face(system.library, matched.file.c_str(), matched.index, &font->face) == 0) {
      opened = true;
      break;
    }
    font->face = nullptr;
  }
  if (opened && SizeFace(font, desc)) {
    font->family = matched.family;
    font->syntheticBold = matched.embolden || (weight >= 600 && matched.weight < FC_WEIGHT_DEMIBOLD);
    font->syntheticItalic = desc.italic && matched.slant == FC_SLANT_ROMAN;
    if (desc.quality == RAS_FontQualityNonAntialiased) {
      font->loadFlags = FT_LOAD_TARGET_MONO;
      font->renderMode = FT_RENDER_MODE_MONO;
    }
    ++system.liveFonts;
    return font;
  }
  if (font->face) {
    FT_Done_Face(font->face);
  }
  delete font;
  StopFontSystemIfIdle(system);
  return nullptr;
}

void RAS_DeletePlatformFont(RAS_PlatformFont* font) {
  if (!font) {
    return;
  }
  FontSystem& system = System();
  platform::LockGuard guard(system.lock);
  FT_Done_Face(font->face);
  delete font;
  --system.liveFonts;
  StopFontSystemIfIdle(system);
}

int RAS_PlatformFontCellHeight(const RAS_PlatformFont* font) { return font ? font->cellHeight : 0; }

const char* RAS_PlatformFontFamily(const RAS_PlatformFont* font) {
  return font ? font->family.c_str() : "";
}

bool RAS_PlatformFontMeasureChar(RAS_PlatformFont* font, uint32_t code, int* width, int* height) {
  *width = 0;
  *height = 0;
  if (!font || !LoadChar(font, code, false)) {
    return false;
  }
  *width = std::max(0, RoundPixels(font->face->glyph->advance.x));
  *height = font->cellHeight;
  return true;
}

void RAS_PlatformFontDrawChar(RAS_PlatformFont* font, RAS_IBitmap* bitmap, int x, int y, uint32_t code) {
  RAS_BitmapRows rows;
  if (!font || !bitmap || !RAS_GetBitmapRows(bitmap, &rows) || !LoadChar(font, code, true)) {
    return;
  }
  const FT_GlyphSlot slot = font->face->glyph;
  const FT_Bitmap& glyph = slot->bitmap;
  bool mono = glyph.pixel_mode == FT_PIXEL_MODE_MONO;
  if (!mono && glyph.pixel_mode != FT_PIXEL_MODE_GRAY) {
    return;
  }
  int left = x + slot->bitmap_left;
  int top = y + font->ascent - slot->bitmap_top;
  int pitch = glyph.pitch < 0 ? -glyph.pitch : glyph.pitch;
  for (int r = 0; r < static_cast<int>(glyph.rows); ++r) {
    int py = top + r;
    if (py < 0 || py >= bitmap->GetHeight()) {
      continue;
    }
    int sourceRow = glyph.pitch < 0 ? static_cast<int>(glyph.rows) - 1 - r : r;
    const uint8_t* source = glyph.buffer + static_cast<ptrdiff_t>(sourceRow) * pitch;
    for (int c = 0; c < static_cast<int>(glyph.width); ++c) {
      int px = left + c;
      if (px < 0 || px >= bitmap->GetWidth()) {
        continue;
      }
      int coverage = mono ? ((source[c >> 3] >> (7 - (c & 7))) & 1) * 255 : source[c];
      if (coverage == 0) {
        continue;
      }
      uint8_t* p = rows.Pixel(px, py);
      for (int i = 0; i < 3; ++i) {
        p[i] = static_cast<uint8_t>(p[i] + (255 - p[i]) * coverage / 255);
      }
    }
  }
}
