#include "editor/IGraphics.h"

#include <cstdio>
#include <cstring>

#include "core/IFxBase.h"
#include "core/IFxParam.h"
#include "core/NumberText.h"
#include "editor/FontCache.h"
#include "editor/IBitmapControl.h"
#include "editor/ImageCache.h"
#include "platform/FatalAssert.h"
#include "raster/RAS_Blit.h"
#include "raster/RAS_CachedFont.h"
#include "raster/RAS_PlatformFont.h"
#include "raster/RAS_SysBitmap.h"

namespace {

constexpr int kDefaultFPS = 25;

RAS_Rect ToRasRect(const IRect& r) {
  RAS_Rect out;
  out.L = r.L;
  out.T = r.T;
  out.R = r.R;
  out.B = r.B;
  return out;
}

unsigned int BlitModeFor(const IBlend* blend) {
  if (!blend) return RAS_BlitCopy | RAS_BlitUseAlpha;
  switch (blend->method) {
    case IBlend::BlendOpaque: return RAS_BlitCopy;
    case IBlend::BlendAdd: return RAS_BlitAdd | RAS_BlitUseAlpha;
    case IBlend::BlendDodge: return RAS_BlitDodge | RAS_BlitUseAlpha;
    case IBlend::BlendNormal:
    default: return RAS_BlitCopy | RAS_BlitUseAlpha;
  }
}

int PlatformQualityFor(int styleQuality) {
  switch (styleQuality) {
    case ITextStyle::QualityNonAntiAliased: return 3;
    case ITextStyle::QualityAntiAliased: return 4;
    case ITextStyle::QualityClearType: return 5;
    default: return 0;
  }
}

}  // namespace

IGraphics::IGraphics(IFxBase* plug, int width, int height, int fps)
    : mPlug(plug), mWidth(width), mHeight(height), mFPS(fps > 0 ? fps : kDefaultFPS) {}

IGraphics::~IGraphics() {
  mKeyCatcher.reset();
  DestroyControls();
  mBackBuffer.reset();
}

void IGraphics::DestroyControls() {
  while (!mControls.empty()) mControls.pop_back();
}

// ---- Platform slots with a default ----

bool IGraphics::MeasureText(ITextStyle& style, const char* text, IRect& rect) {
  return DrawStyledText(style, text, rect, true);
}

void IGraphics::Resize(int w, int h) {
  mWidth = w;
  mHeight = h;
  ReleaseMouseCapture();
  EndGesture();
  DestroyControls();
  mBackBuffer.reset();
  PrepareBackBuffer();
  if (mPlug) mPlug->ResizeEditorWindow(w, h);
}

bool IGraphics::WindowIsOpen() { return GetWindow() != nullptr; }

const char* IGraphics::GetApiName() { return ""; }

bool IGraphics::AcceptsParentType(const char* /*type*/) const { return false; }

bool IGraphics::OpenEditorWindow(void* parent, const char* type, IFxHostRunLoop* runLoop) {
  if (type == nullptr || !AcceptsParentType(type)) return false;
  mHostRunLoop = runLoop;
  if (OpenWindow(parent) != nullptr) return true;
  mHostRunLoop = nullptr;
  return false;
}

void IGraphics::CloseEditorWindow() {
  CloseWindow();
  mHostRunLoop = nullptr;
}

// ---- Set-up ----

void IGraphics::PrepareBackBuffer() { mBackBuffer = std::make_unique<RAS_SysBitmap>(mWidth, mHeight); }

IFrameBitmap IGraphics::LoadFrameBitmap(int id, const char* name, int frameCount,
                                        bool framesHorizontal) {
  RAS_IBitmap* bitmap = ImageCache::Find(id);
  if (!bitmap) {
    RAS_IBitmap* loaded = LoadPlatformBitmap(id, name);
    FX_ASSERT(loaded != nullptr, "imgResourceFound");
    bitmap = ImageCache::Insert(id, loaded);
  }
  return IFrameBitmap(bitmap, bitmap->GetWidth(), bitmap->GetHeight(), frameCount,
                      framesHorizontal);
}

void IGraphics::AddBackground(int id, const char* name) {
  const IFrameBitmap bitmap = LoadFrameBitmap(id, name, 1, false);
  auto* background = new IBitmapControl(mPlug, 0, 0, -1, bitmap, IBlend::BlendOpaque);
  background->SetGraphics(this);
  mControls.insert(mControls.begin(), std::unique_ptr<IControl>(background));
}

int IGraphics::AddControl(IControl* control) {
  control->SetGraphics(this);
  mControls.emplace_back(control);
  return GetNControls() - 1;
}

IControl* IGraphics::GetControl(int index) const {
  if (index < 0 || index >= GetNControls()) return nullptr;
  return mControls[static_cast<size_t>(index)].get();
}

void IGraphics::SetKeyCatcher(IControl* control) {
  if (control) control->SetGraphics(this);
  mKeyCatcher.reset(control);
}

// ---- Run time, from the plug-in side ----

void IGraphics::PushParamToControls(int paramIdx, double value, bool normalized) {
  if (!normalized) {
    const IFxParam* param = mPlug ? mPlug->GetParam(paramIdx) : nullptr;
    if (!param) return;
    value = param->ValueToNormalized(value);
  }
  for (const auto& control : mControls) {
    if (control->ParamIdx() == paramIdx) control->TakeParamValue(value);
    const int auxIdx = control->AuxParamIndex(paramIdx);
    if (auxIdx >= 0) control->TakeAuxParamValue(auxIdx, value);
  }
}

void IGraphics::GreyOutParam(int paramIdx, bool grey) {
  for (const auto& control : mControls)
    if (control->ParamIdx() == paramIdx) control->GreyOut(grey);
}

void IGraphics::MarkAllControlsDirty() {
  for (const auto& control : mControls) control->MarkDirty(false);
}

// ---- Prompts ----

void IGraphics::PromptParamEntry(IControl* control, IFxParam* param, const IRect* rect) {
  if (!control || !param || !rect) return;

  // Read the parameter under the instance lock, but show nothing while
  // holding it: menus and entries are modal or outlive this call.
  const bool useMenu =
      param->Kind() == ParamKindEnum || (param->Kind() == ParamKindBool && param->NamedValueCount() > 0);
  IPopupMenu menu;
  char entryText[64] = {};
  {
    if (mPlug) mPlug->Lock();
    if (useMenu) {
      char current[IFxParam::kTextSize * 2];
      param->FormatCurrent(current, sizeof(current));
      const int n = param->NamedValueCount();
      for (int i = 0; i < n; ++i) {
        const char* text = param->NamedValueText(i);
        menu.AddItem(text, std::strcmp(text, current) == 0 ? IPopupMenuItem::Ticked : 0);
      }
    } else {
      double value = param->Value();
      if (param->NegatedDisplay()) value = -value;
      if (param->Precision() > 0)
        FormatFixedNumber(value, param->Precision(), entryText, sizeof(entryText));
      else
        std::snprintf(entryText, sizeof(entryText), "%d", static_cast<int>(value));
    }
    if (mPlug) mPlug->Unlock();
  }

  if (!useMenu) {
    CreateTextEntry(control, control->GetTextStyle(), *rect, entryText, param);
    return;
  }
  IPopupMenu* chosen = ShowPopupMenu(&menu, *rect);
  if (!chosen || chosen->GetChosenItemIdx() < 0) return;
  const double value = param->ValueToNormalized(chosen->GetChosenItemIdx());
  if (value != control->GetValue()) {
    const bool ownGesture = BeginChangeUnlessInGesture(control->ParamIdx());
    control->SetValue(value);
    control->MarkDirty(true);
    control->SetRedraw(true);
    if (ownGesture) EndGesture();
  }
}

void IGraphics::CommitTextEntry(IControl* control, IFxParam* param, const char* text) {
  if (!control) return;
  if (!text) text = "";
  if (!param) {
    control->TakeEnteredText(text);
    return;
  }
  // Text that names no value, or is no number, counts as 0.
  double value = 0.0;
  if (!param->ValueFromText(text, &value)) value = 0.0;
  // The entry is committed after the click that opened it has ended: the
  // value gets a gesture of its own.
  IGraphics* graphics = control->GetGraphics();
  const bool ownGesture = graphics && graphics->BeginChangeUnlessInGesture(control->ParamIdx());
  control->SetValueFromEntry(param->ValueToNormalized(value));
  if (ownGesture) graphics->EndGesture();
}

bool IGraphics::TextEntryAcceptsChar(const IFxParam* param, char c) {
  if (!param || c == '\b') return true;
  const bool digitOrSign = (c >= '0' && c <= '9') || c == '+' || c == '-';
  switch (param->Kind()) {
    case ParamKindBool:
    case ParamKindInt:
    case ParamKindEnum: return digitOrSign;
    case ParamKindDouble: return digitOrSign || c == '.';
    default: return true;
  }
}

// ---- Drawing ----

bool IGraphics::DrawBitmap(const IFrameBitmap& bitmap, const IRect& dest, int srcX, int srcY,
                           const IBlend* blend) {
  if (!mBackBuffer || !bitmap.bitmap) return false;
  const IRect clipped = dest.Intersect(mDrawRect);
  RAS_Rect src;
  src.L = srcX + clipped.L - dest.L;
  src.T = srcY + clipped.T - dest.T;
  src.R = srcX + clipped.R - dest.L;
  src.B = srcY + clipped.B - dest.T;
  const float weight = blend ? blend->weight : 1.0f;
  RAS_BlitBitmap(mBackBuffer.get(), bitmap.bitmap, clipped.L, clipped.T, &src, weight,
                 BlitModeFor(blend));
  return true;
}

bool IGraphics::DrawBitmapFrame(const IFrameBitmap& bitmap, const IRect& dest, int frame,
                                const IBlend* blend) {
  int srcX = 0;
  int srcY = 0;
  if (bitmap.N >= 2 && frame >= 2) {
    const double size = bitmap.framesHorizontal ? bitmap.W : bitmap.H;
    const int offset = static_cast<int>(size * (frame - 1) / bitmap.N + 0.5);
    if (bitmap.framesHorizontal)
      srcX = offset;
    else
      srcY = offset;
  }
  return DrawBitmap(bitmap, dest, srcX, srcY, blend);
}

RAS_CachedFont* IGraphics::FindFont(ITextStyle& style) {
  RAS_CachedFont* font = FontCache::Find(style.size, style.orientation, style.style, style.face);
  if (!font) {
    RAS_PlatformFontDesc desc;
    desc.height = style.size;
    desc.width = 0;
    desc.escapement = style.orientation * 10;
    desc.orientation = style.orientation * 10;
    desc.weight = style.style == ITextStyle::StyleBold ? 700 : 400;
    desc.italic = style.style == ITextStyle::StyleItalic;
    desc.quality = PlatformQualityFor(style.quality);
    std::snprintf(desc.face, sizeof(desc.face), "%s", style.face);
    RAS_PlatformFont* platformFont = RAS_CreatePlatformFont(desc);
    if (!platformFont) return nullptr;
    auto* created = new RAS_CachedFont();
    created->SetFromPlatformFont(platformFont, RAS_FontOwnsHandle | RAS_FontNative);
    font = FontCache::Insert(style.size, style.orientation, style.style, style.face, created);
  }
  style.cachedFont = font;
  return font;
}

bool IGraphics::DrawStyledText(ITextStyle& style, const char* text, IRect& rect, bool measure) {
  if (!text || text[0] == '\0') return true;
  RAS_CachedFont* font = style.cachedFont ? style.cachedFont : FindFont(style);
  if (!font) return false;
  font->SetTextColor(style.color.Word());

  unsigned int flags = RAS_TextVCenter | RAS_TextSingleLine | RAS_TextNoClip;
  if (style.color.A < 255) flags |= RAS_TextUseColorAlpha;
  if (style.align == ITextStyle::AlignCenter) flags |= RAS_TextCenter;
  if (style.align == ITextStyle::AlignRight) flags |= RAS_TextRight;

  if (!measure) {
    RAS_Rect r = ToRasRect(rect);
    font->DrawText(mBackBuffer.get(), text, -1, &r, flags);
    return true;
  }

  RAS_Rect extent;
  font->DrawText(mBackBuffer.get(), text, -1, &extent, flags | RAS_TextMeasure);
  const int w = extent.R - extent.L;
  const int h = extent.B - extent.T;
  switch (style.align) {
    case ITextStyle::AlignLeft: rect.R = rect.L + w; break;
    case ITextStyle::AlignRight: rect.L = rect.R - w; break;
    default:
      rect.L = static_cast<int>(static_cast<float>(rect.L + rect.R) / 2.0f) - w / 2;
      rect.R = rect.L + w;
      break;
  }
  rect.B = rect.T + h;
  return true;
}

void IGraphics::DrawRect(const IColor& color, const IRect& rect) {
  if (!mBackBuffer) return;
  RAS_IBitmap* bb = mBackBuffer.get();
  const uint32_t word = color.Word();
  RAS_DrawLine(bb, rect.L, rect.T, rect.R, rect.T, word, 1.0f, RAS_BlitCopy, false);
  RAS_DrawLine(bb, rect.L, rect.B, rect.R, rect.B, word, 1.0f, RAS_BlitCopy, false);
  RAS_DrawLine(bb, rect.L, rect.T, rect.L, rect.B, word, 1.0f, RAS_BlitCopy, false);
  RAS_DrawLine(bb, rect.R, rect.T, rect.R, rect.B, word, 1.0f, RAS_BlitCopy, false);
}

bool IGraphics::CollectDirtyRect(IRect& rect) {
  bool dirty = false;
  for (const auto& control : mControls) {
    if (control->IsDirty()) {
      rect = rect.Union(control->GetRect());
      dirty = true;
    }
  }
  return dirty;
}

void IGraphics::DrawRegion(const IRect& r) {
  if (mControls.empty()) return;
  if (mStrictDrawing)
    DrawStrict(r);
  else
    DrawNonStrict();
  if (mShowControlBounds) DrawControlBounds();
  DrawScreen(r);
}

void IGraphics::DrawStrict(const IRect& r) {
  mDrawRect = r;
  for (const auto& control : mControls)
    if (!control->IsHidden() && control->GetRect().Intersects(r)) control->Draw(*this);
  for (const auto& control : mControls) control->MarkClean();
}

void IGraphics::DrawNonStrict() {
  IControl* background = mControls[0].get();
  if (background->IsDirty()) {
    mDrawRect = background->GetRect();
    for (size_t i = 0; i < mControls.size(); ++i) {
      IControl* control = mControls[i].get();
      if (i == 0 || !control->IsHidden()) control->Draw(*this);
      control->MarkClean();
    }
    return;
  }
  for (size_t i = 1; i < mControls.size(); ++i) {
    IControl* dirty = mControls[i].get();
    if (!dirty->IsDirty()) continue;
    mDrawRect = dirty->GetRect();
    for (size_t j = 0; j < mControls.size(); ++j) {
      IControl* control = mControls[j].get();
      if (control->IsHidden()) continue;
      if (j == i || control->GetRect().Intersects(mDrawRect)) control->Draw(*this);
    }
    dirty->MarkClean();
  }
}

void IGraphics::DrawControlBounds() {
  const IColor green(255, 0, 255, 0);
  for (size_t i = 1; i < mControls.size(); ++i) DrawRect(green, mControls[i]->GetRect());
  char text[64];
  std::snprintf(text, sizeof(text), "x: %i, y: %i", mMouseX, mMouseY);
  ITextStyle style(20, green, "Arial");
  style.cachedFont = mBoundsFont;
  IRect box(mWidth - 150, mHeight - 20, mWidth, mHeight);
  DrawStyledText(style, text, box, false);
  mBoundsFont = style.cachedFont;
}

// ---- Mouse and keys ----

void IGraphics::ReleaseMouseCapture() {
  mMouseCapture = -1;
  mMouseX = -1;
  mMouseY = -1;
}

void IGraphics::BeginGesture(int paramIdx) {
  EndGesture();  // a press whose release never came
  if (!mPlug || paramIdx < 0) return;
  mPlug->BeginInformHostOfParamChange(paramIdx);
  mGestureParam = paramIdx;
}

void IGraphics::EndGesture() {
  if (mGestureParam < 0) return;
  const int paramIdx = mGestureParam;
  mGestureParam = -1;
  if (mPlug) mPlug->EndInformHostOfParamChange(paramIdx);
}

bool IGraphics::BeginChangeUnlessInGesture(int paramIdx) {
  if (!mPlug || paramIdx < 0 || paramIdx == mGestureParam) return false;
  BeginGesture(paramIdx);
  return true;
}

int IGraphics::FindControlAt(int x, int y) const {
  for (int i = GetNControls() - 1; i >= 0; --i) {
    const IControl* control = mControls[static_cast<size_t>(i)].get();
    if (!control->IsHidden() && !control->IsGreyed() && control->IsHit(x, y)) return i;
  }
  return -1;
}

bool IGraphics::MouseDown(int x, int y, const IMouseMod& mod) {
  ReleaseMouseCapture();
  const int index = FindControlAt(x, y);
  if (index < 0) return false;
  IControl* control = GetControl(index);
  mMouseCapture = index;
  mMouseX = x;
  mMouseY = y;
  const int paramIdx = control->ParamIdx();
  if (mPlug && mPlug->GetHostFormat() == HostFormatVst3 && mod.R) {
    if (paramIdx >= 0) {
      // The host's own parameter menu replaces the control's right click.
      ReleaseMouseCapture();
      mPlug->ShowHostContextMenu(paramIdx, x, y);
      return false;
    }
  } else {
    BeginGesture(paramIdx);
  }
  control->MouseDown(x, y, mod);
  return true;
}

bool IGraphics::MouseUp(int x, int y, const IMouseMod& mod) {
  const int index = mMouseCapture >= 0 ? mMouseCapture : FindControlAt(x, y);
  ReleaseMouseCapture();
  IControl* control = GetControl(index);
  if (!control) return false;
  control->MouseUp(x, y, mod);
  // Ends the gesture the press began; a release without a press began none.
  EndGesture();
  return true;
}

bool IGraphics::MouseDoubleClick(int x, int y, const IMouseMod& mod) {
  ReleaseMouseCapture();
  const int index = FindControlAt(x, y);
  if (index < 0) return false;
  IControl* control = GetControl(index);
  if (control->GetDblAsSingleClick()) {
    mMouseCapture = index;
    mMouseX = x;
    mMouseY = y;
    // Framed like a press, so the mouse-up's end notice has its begin.
    BeginGesture(control->ParamIdx());
    control->MouseDown(x, y, mod);
    return true;
  }
  // A gesture of its own (a knob's reset sends its value); the release that
  // follows finds no gesture open and sends no second end.
  BeginGesture(control->ParamIdx());
  control->MouseDoubleClick(x, y, mod);
  EndGesture();
  return false;
}

void IGraphics::MouseWheel(int x, int y, const IMouseMod& mod, double steps) {
  const int index = mMouseCapture >= 0 ? mMouseCapture : FindControlAt(x, y);
  IControl* control = GetControl(index);
  if (!control) return;
  // Wheel steps outside a press are framed one by one.
  const bool ownGesture = BeginChangeUnlessInGesture(control->ParamIdx());
  control->MouseWheel(x, y, mod, steps);
  if (ownGesture) EndGesture();
}

bool IGraphics::MouseOver(int x, int y, const IMouseMod& mod) {
  if (!mHandleMouseOver) return false;
  int index = mMouseCapture;
  if (index < 0) {
    for (int i = GetNControls() - 1; i >= 0; --i) {
      const IControl* control = mControls[static_cast<size_t>(i)].get();
      if (!control->IsHidden() && (!control->IsGreyed() || control->GetHoverWhileGreyed()) &&
          control->IsHit(x, y)) {
        index = i;
        break;
      }
    }
  }
  if (IControl* control = GetControl(index)) {
    mMouseX = x;
    mMouseY = y;
    control->MouseOver(x, y, mod);
    if (mMouseOver != index) {
      if (IControl* previous = GetControl(mMouseOver)) previous->MouseOut();
    }
    mMouseOver = index;
  }
  return true;
}

void IGraphics::MouseOut() {
  for (const auto& control : mControls) control->MouseOut();
  mMouseOver = -1;
}

void IGraphics::MouseDrag(int x, int y, const IMouseMod& mod) {
  IControl* control = GetControl(mMouseCapture);
  if (!control || (x == mMouseX && y == mMouseY)) return;
  const int dX = x - mMouseX;
  const int dY = y - mMouseY;
  mMouseX = x;
  mMouseY = y;
  control->MouseDrag(x, y, dX, dY, mod);
}

bool IGraphics::KeyDown(int x, int y, int key) {
  const int index = mMouseCapture >= 0 ? mMouseCapture : FindControlAt(x, y);
  if (index <= 0) return mKeyCatcher ? mKeyCatcher->KeyDown(x, y, key) : false;
  return GetControl(index)->KeyDown(x, y, key);
}
