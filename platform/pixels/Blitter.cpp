// Colour fills and copies between surfaces. Each call checks and clips its rectangles once,
// picks a row loop for the pixel size and keying, and then runs that loop unchecked.
#include "platform/pixels/Clipper.h"
#include "platform/pixels/CopyBytes.h"
#include "platform/pixels/KeyedRows.h"
#include "platform/pixels/PixelAccess.h"
#include "platform/pixels/PlainRows.h"
#include "platform/pixels/Surface.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace platform {

namespace {

uint32_t PixelMask(int bpp) {
    return bpp >= 4 ? 0xFFFFFFFFu : ((1u << (bpp * 8)) - 1);
}

// Rows of one surface area: base pointer of the area's top-left pixel and the row pitch.
struct Area {
    uint8_t* bits;
    int pitch;
};

// Only the destination of a copy is reached through the writing Bits(), which marks its pixels changed.
Area At(Surface& s, int x, int y) {
    return Area{s.Bits() + static_cast<std::ptrdiff_t>(y) * s.Pitch() + x * s.Format().BytesPerPixel(), s.Pitch()};
}

keyed::ConstRows SourceAt(const Surface& s, int x, int y) {
    return {s.Bits() + static_cast<std::ptrdiff_t>(y) * s.Pitch() + x * s.Format().BytesPerPixel(), s.Pitch()};
}

// True when every byte of a pixel value is the same, as in black and white.
template <int Bpp> bool BytesAlike(uint32_t v) {
    for (int i = 1; i < Bpp; ++i) {
        if (((v >> (8 * i)) & 0xFF) != (v & 0xFF)) {
            return false;
        }
    }
    return true;
}

template <int Bpp> void FillRows(Area a, int w, int h, uint32_t v) {
    const auto rowBytes = static_cast<std::size_t>(w) * Bpp;
    // A value of alike bytes is a memset, and rows with no gap between them one memset over the
    // whole area: a large one stores whole cache lines without reading them first, twice as fast
    // as a loop of vector stores over the back buffer.
    if (BytesAlike<Bpp>(v)) {
        const int byte = static_cast<int>(v & 0xFF);
        if (rowBytes == static_cast<std::size_t>(a.pitch)) {
            std::memset(a.bits, byte, rowBytes * static_cast<std::size_t>(h));
            return;
        }
        for (int y = 0; y < h; ++y) {
            std::memset(a.bits + static_cast<std::ptrdiff_t>(y) * a.pitch, byte, rowBytes);
        }
        return;
    }
    for (int y = 0; y < h; ++y) {
        uint8_t* row = a.bits + static_cast<std::ptrdiff_t>(y) * a.pitch;
        if constexpr (Bpp == 2) {
            std::fill_n(reinterpret_cast<uint16_t*>(row), w, static_cast<uint16_t>(v));
        } else if constexpr (Bpp == 4) {
            std::fill_n(reinterpret_cast<uint32_t*>(row), w, v);
        } else {
            for (int x = 0; x < w; ++x) {
                Px<Bpp>::Set(row + x * Bpp, v);
            }
        }
    }
}

// Destination pixels of `clip` (inside the full destination rectangle `d`) take source pixels
// of `s` by nearest position, mirrored as asked.
template <int Bpp, bool Keyed>
void StretchRows(Surface& dst, const TRect& clip, const TRect& d, Surface& src, const TRect& s, const BltFx& fx,
                 uint32_t key) {
    const int64_t sw = s.Width(), sh = s.Height(), dw = static_cast<int64_t>(d.Right) - d.Left,
                  dh = static_cast<int64_t>(d.Bottom) - d.Top;
    std::vector<int> columns(static_cast<std::size_t>(clip.Width()));
    for (int x = clip.Left; x < clip.Right; ++x) {
        int sx = static_cast<int>((static_cast<int64_t>(x) - d.Left) * sw / dw);
        if (fx.MirrorLeftRight) {
            sx = static_cast<int>(sw - 1 - sx);
        }
        columns[static_cast<std::size_t>(x - clip.Left)] = (s.Left + sx) * Bpp;
    }
    for (int y = clip.Top; y < clip.Bottom; ++y) {
        int sy = static_cast<int>((static_cast<int64_t>(y) - d.Top) * sh / dh);
        if (fx.MirrorUpDown) {
            sy = static_cast<int>(sh - 1 - sy);
        }
        const uint8_t* sr = std::as_const(src).Bits() + static_cast<std::ptrdiff_t>(s.Top + sy) * src.Pitch();
        uint8_t* dr = At(dst, clip.Left, y).bits;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            uint32_t v = Px<Bpp>::Get(sr + columns[i]);
            if (!Keyed || v != key) {
                Px<Bpp>::Set(dr + i * Bpp, v);
            }
        }
    }
}

// A 1:1 copy of w x h pixels from (sx, sy) of `source` to d. A keyed copy of a surface's own pixels
// moves their opaque runs when the surface has runs worth using (all of it when it has no key
// pixels); any other keyed copy selects.
void CopyAny(int bpp, Area d, Surface* source, keyed::ConstRows s, int sx, int sy, int w, int h, bool isKeyed,
             uint32_t key) {
    const auto rowBytes = static_cast<std::size_t>(w) * static_cast<std::size_t>(bpp);
    if (!isKeyed) {
        return CopyPlainRows(d.bits, d.pitch, s.bits, s.pitch, rowBytes, h);
    }
    const keyed::Rows dr{d.bits, d.pitch};
    if (source != nullptr) {
        if (const OpaqueRuns* runs = source->RunsFor(key)) {
            if (runs->Opaque()) {
                return CopyPlainRows(d.bits, d.pitch, s.bits, s.pitch, rowBytes, h);
            }
            return keyed::CopyRuns(bpp, dr, SourceAt(*source, 0, 0), *runs, sx, sy, w, h);
        }
    }
    keyed::CopySelect(bpp, dr, s, w, h, key);
}

template <int Bpp>
void Stretch(Surface& dst, const TRect& clip, const TRect& d, Surface& src, const TRect& s, const BltFx& fx,
             uint32_t key) {
    if (fx.KeySrc) {
        StretchRows<Bpp, true>(dst, clip, d, src, s, fx, key);
    } else {
        StretchRows<Bpp, false>(dst, clip, d, src, s, fx, key);
    }
}

bool Inside(const TRect& r, const Surface& s) {
    return r.Left >= 0 && r.Top >= 0 && r.Right <= s.Width() && r.Bottom <= s.Height();
}

TRect Intersect(const TRect& a, const TRect& b) {
    return TRect{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
                 std::min(a.Bottom, b.Bottom)};
}

} // namespace

Result Surface::Fill(const TRect* area, uint32_t raw) {
    if (Result r = Usable(); r != Result::Ok) {
        return r;
    }
    TRect a = area ? *area : TRect{0, 0, width_, height_};
    std::vector<TRect> rects;
    if (clipper_) {
        std::vector<TRect> clips;
        if (Result r = clipper_->ClipRects(*this, clips); r != Result::Ok) {
            return r;
        }
        for (const TRect& c : clips) {
            TRect i = Intersect(a, c);
            if (!i.IsEmpty()) {
                rects.push_back(i);
            }
        }
    } else {
        if (!Inside(a, *this)) {
            return Result::InvalidRect;
        }
        if (!a.IsEmpty()) {
            rects.push_back(a);
        }
    }
    const uint32_t v = raw & PixelMask(format_.BytesPerPixel());
    for (const TRect& r : rects) {
        Area at = At(*this, r.Left, r.Top);
        switch (format_.BytesPerPixel()) {
        case 1:
            FillRows<1>(at, r.Width(), r.Height(), v);
            break;
        case 2:
            FillRows<2>(at, r.Width(), r.Height(), v);
            break;
        case 3:
            FillRows<3>(at, r.Width(), r.Height(), v);
            break;
        default:
            FillRows<4>(at, r.Width(), r.Height(), v);
            break;
        }
    }
    Changed();
    return Result::Ok;
}

Result Surface::BltFast(int x, int y, Surface& src, const TRect& srcRect, bool isKeyed) {
    if (Result r = Usable(); r != Result::Ok) {
        return r;
    }
    if (&src != this) {
        if (Result r = src.Usable(); r != Result::Ok) {
            return r;
        }
    }
    if (clipper_) {
        return Result::BltFastCantClip;
    }
    if (!(src.format_ == format_)) {
        return Result::IncompatibleFormat;
    }
    if (srcRect.IsEmpty() || !Inside(srcRect, src) || x < 0 || y < 0 ||
        static_cast<int64_t>(x) + srcRect.Width() > width_ || static_cast<int64_t>(y) + srcRect.Height() > height_) {
        return Result::InvalidRect;
    }
    const TRect d = Bounds(x, y, srcRect.Width(), srcRect.Height());
    const int bpp = format_.BytesPerPixel();
    const uint32_t key = src.colorKey_ & PixelMask(bpp);
    if (&src == this) {
        // Copy through a snapshot of the source rows so that overlapping areas come out right.
        std::vector<uint8_t> rows(static_cast<std::size_t>(srcRect.Height()) * pitch_);
        std::memcpy(rows.data(), At(*this, 0, srcRect.Top).bits, rows.size());
        const keyed::ConstRows s{rows.data() + srcRect.Left * bpp, pitch_};
        CopyAny(bpp, At(*this, x, y), nullptr, s, 0, 0, d.Width(), d.Height(), isKeyed, key);
    } else {
        CopyAny(bpp, At(*this, x, y), &src, SourceAt(src, srcRect.Left, srcRect.Top), srcRect.Left, srcRect.Top,
                d.Width(), d.Height(), isKeyed, key);
    }
    Changed();
    return Result::Ok;
}

Result Surface::Blt(const TRect* dstRect, Surface& src, const TRect* srcRect, const BltFx& fx) {
    if (Result r = Usable(); r != Result::Ok) {
        return r;
    }
    if (&src != this) {
        if (Result r = src.Usable(); r != Result::Ok) {
            return r;
        }
    }
    if (!(src.format_ == format_)) {
        return Result::IncompatibleFormat;
    }
    TRect d = dstRect ? *dstRect : TRect{0, 0, width_, height_};
    TRect s = srcRect ? *srcRect : TRect{0, 0, src.width_, src.height_};
    if (d.IsEmpty() || s.IsEmpty() || !Inside(s, src)) {
        return Result::InvalidRect;
    }
    std::vector<TRect> clips;
    if (clipper_) {
        if (Result r = clipper_->ClipRects(*this, clips); r != Result::Ok) {
            return r;
        }
    } else {
        if (!Inside(d, *this)) {
            return Result::InvalidRect;
        }
        clips.push_back(d);
    }
    // A copy of a surface onto itself reads from a snapshot.
    std::unique_ptr<Surface> snapshot;
    Surface* from = &src;
    if (&src == this) {
        snapshot = std::make_unique<Surface>(registry_, width_, height_, format_, false, false);
        std::memcpy(snapshot->Bits(), pixels_.data(), pixels_.size());
        from = snapshot.get();
    }
    const int bpp = format_.BytesPerPixel();
    const uint32_t key = src.colorKey_ & PixelMask(bpp);
    const bool oneToOne = s.Width() == static_cast<int64_t>(d.Right) - d.Left &&
                          s.Height() == static_cast<int64_t>(d.Bottom) - d.Top && !fx.MirrorLeftRight &&
                          !fx.MirrorUpDown;
    for (const TRect& c : clips) {
        TRect clip = Intersect(d, c);
        if (clip.IsEmpty()) {
            continue;
        }
        if (oneToOne) {
            const int sx = s.Left + (clip.Left - d.Left), sy = s.Top + (clip.Top - d.Top);
            CopyAny(bpp, At(*this, clip.Left, clip.Top), snapshot ? nullptr : from, SourceAt(*from, sx, sy), sx, sy,
                    clip.Width(), clip.Height(), fx.KeySrc, key);
            continue;
        }
        WithPixelSize(bpp, [&](auto size) { Stretch<decltype(size)::value>(*this, clip, d, *from, s, fx, key); });
    }
    Changed();
    return Result::Ok;
}

} // namespace platform
