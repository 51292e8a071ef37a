#include "core/collision.h"

#include <algorithm>

#include "core/world.h"
#include "flyers/aircraft.h"
#include "flyers/shape.h"

namespace {

// Sums and squares in 64 bits: coordinates far off the screen can never overflow.
bool Within(int64_t v, int64_t low, int64_t length) {
  return low <= v && v <= low + length;
}

bool IntervalsMeet(int64_t a, int64_t aLength, int64_t b, int64_t bLength) {
  return a <= b + bLength && b <= a + aLength;
}

int64_t Square(int64_t v) {
  return v * v;
}

TPoint At(const TFlyer& f) {
  return {f.X, f.Y};
}

}  // namespace

bool BoxesOverlap(const TFlyer& a, const TFlyer& b) {
  return IntervalsMeet(a.X, a.Width, b.X, b.Width) && IntervalsMeet(a.Y, a.Height, b.Y, b.Height);
}

bool PointInBox(TPoint p, const TFlyer& f) {
  return Within(p.X, f.X, f.Width) && Within(p.Y, f.Y, f.Height);
}

bool PointInCircle(TPoint p, const TCircleRec& c, int32_t ox, int32_t oy) {
  const int64_t dx = static_cast<int64_t>(p.X) - (static_cast<int64_t>(ox) + c.CX);
  const int64_t dy = static_cast<int64_t>(p.Y) - (static_cast<int64_t>(oy) + c.CY);
  return Square(dx) + Square(dy) <= Square(c.Radius);
}

bool PointInRect(TPoint p, const TRectRec& r, int32_t ox, int32_t oy) {
  return Within(p.X, static_cast<int64_t>(ox) + r.Left, r.Width) &&
         Within(p.Y, static_cast<int64_t>(oy) + r.Top, r.Height);
}

bool PointInShapes(TPoint p, const TFlyer& f) {
  for (const TShape* s = f.Shapes.get(); s; s = s->Next.get()) {
    if (const TCircleRec* c = s->Circle()) {
      if (PointInCircle(p, *c, f.X, f.Y)) return true;
    } else if (const TRectRec* r = s->Rect()) {
      if (PointInRect(p, *r, f.X, f.Y)) return true;
    }
  }
  return false;
}

bool RectsOverlap(const TRectRec& ra, TPoint a, const TRectRec& rb, TPoint b) {
  return IntervalsMeet(static_cast<int64_t>(a.X) + ra.Left, ra.Width,
                       static_cast<int64_t>(b.X) + rb.Left, rb.Width) &&
         IntervalsMeet(static_cast<int64_t>(a.Y) + ra.Top, ra.Height,
                       static_cast<int64_t>(b.Y) + rb.Top, rb.Height);
}

bool CirclesOverlap(const TCircleRec& ca, TPoint a, const TCircleRec& cb, TPoint b) {
  const int64_t dx = (static_cast<int64_t>(a.X) + ca.CX) - (static_cast<int64_t>(b.X) + cb.CX);
  const int64_t dy = (static_cast<int64_t>(a.Y) + ca.CY) - (static_cast<int64_t>(b.Y) + cb.CY);
  return Square(dx) + Square(dy) < Square(static_cast<int64_t>(ca.Radius) + cb.Radius);
}

bool CircleRect(const TCircleRec& c, TPoint cAt, const TRectRec& r, TPoint rAt) {
  const int64_t left = static_cast<int64_t>(rAt.X) + r.Left;
  const int64_t top = static_cast<int64_t>(rAt.Y) + r.Top;
  const int64_t right = left + r.Width;
  const int64_t bottom = top + r.Height;
  const int64_t cx = static_cast<int64_t>(cAt.X) + c.CX;
  const int64_t cy = static_cast<int64_t>(cAt.Y) + c.CY;
  const int64_t r2 = Square(c.Radius);
  auto inCircle = [&](int64_t x, int64_t y) { return Square(x - cx) + Square(y - cy) <= r2; };
  if (inCircle(left, top) || inCircle(right, top) || inCircle(left, bottom) ||
      inCircle(right, bottom)) {
    return true;
  }
  auto inRect = [&](int64_t x, int64_t y) {
    return left <= x && x <= right && top <= y && y <= bottom;
  };
  return inRect(cx + c.Radius, cy) || inRect(cx - c.Radius, cy) || inRect(cx, cy + c.Radius) ||
         inRect(cx, cy - c.Radius);
}

bool ShapesOverlap(const TFlyer& a, const TFlyer& b) {
  const TPoint pa = At(a);
  const TPoint pb = At(b);
  for (const TShape* sa = a.Shapes.get(); sa; sa = sa->Next.get()) {
    if (sa->Kind == skNone) continue;
    for (const TShape* sb = b.Shapes.get(); sb; sb = sb->Next.get()) {
      bool hit = false;
      if (sa->Kind == skRect && sb->Kind == skRect) {
        hit = RectsOverlap(*sa->Rect(), pa, *sb->Rect(), pb);
      } else if (sa->Kind == skCircle && sb->Kind == skCircle) {
        hit = CirclesOverlap(*sa->Circle(), pa, *sb->Circle(), pb);
      } else if (sa->Kind == skCircle && sb->Kind == skRect) {
        hit = CircleRect(*sa->Circle(), pa, *sb->Rect(), pb);
      } else if (sa->Kind == skRect && sb->Kind == skCircle) {
        hit = CircleRect(*sb->Circle(), pb, *sa->Rect(), pa);
      }
      if (hit) return true;
    }
  }
  return false;
}

void Collide(TFlyer& a, TFlyer& b) {
  if (a.IsFriend(b.Side) || b.IsFriend(a.Side)) return;
  const int32_t damage = std::min(a.Health, b.Health);
  a.Hit(damage);
  b.Hit(damage);
}

void ShellsVsFlyers(World& w) {
  // Neither Alive is consulted: a shell that struck is still tested against the flyers
  // after it at the same point, and a destroyed flyer can be struck until it is removed.
  for (auto* f = w.FlyerList.Head(); f; f = f->Next) {
    TFlyer& flyer = *f->Object;
    for (auto* s = w.ShellList.Head(); s; s = s->Next) {
      TShell& shell = *s->Object;
      const TPoint p{shell.X, shell.Y};
      if (PointInBox(p, flyer) && PointInShapes(p, flyer)) shell.HitTarget(flyer);
    }
  }
}

void FlyersVsFlyers(World& w) {
  for (auto* a = w.FlyerList.Head(); a; a = a->Next) {
    // A is looked at once: destroyed by one collision, it still meets the rest of the list.
    if (!a->Object->Alive) continue;
    for (auto* b = a->Next; b; b = b->Next) {
      if (b->Object->Alive && BoxesOverlap(*a->Object, *b->Object) &&
          ShapesOverlap(*a->Object, *b->Object)) {
        Collide(*a->Object, *b->Object);
      }
    }
  }
}

void BonusesVsPlayer(World& w) {
  if (!w.Player) return;
  const TFlyer& player = *w.Player;
  for (auto* n = w.BonusList.Head(); n; n = n->Next) {
    TBonus& bonus = *n->Object;
    if (bonus.Alive && BoxesOverlap(bonus, player) && ShapesOverlap(bonus, player)) {
      bonus.Apply();
    }
  }
}
