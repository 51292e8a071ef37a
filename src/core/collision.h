// The three collision passes of a tick and the geometry they use. Collision is decided in
// two stages: a cheap bounding-box test, then the exact test of the objects' shapes. What a
// collision does is up to the objects (IsFriend, Hit, the shell's HitTarget, Apply).
#pragma once

#include <cstdint>
#include <memory>

class World;
class TFlyer;
struct TCircleRec;
struct TRectRec;

struct TPoint {
  int32_t X;
  int32_t Y;
};

// All bounds are inclusive: touching edges count.
bool BoxesOverlap(const TFlyer& a, const TFlyer& b);
bool PointInBox(TPoint p, const TFlyer& f);
// A shape placed at its owner's position (ox, oy).
bool PointInCircle(TPoint p, const TCircleRec& c, int32_t ox, int32_t oy);
bool PointInRect(TPoint p, const TRectRec& r, int32_t ox, int32_t oy);
bool PointInShapes(TPoint p, const TFlyer& f);
bool RectsOverlap(const TRectRec& ra, TPoint a, const TRectRec& rb, TPoint b);
// Touching circles do not overlap.
bool CirclesOverlap(const TCircleRec& ca, TPoint a, const TCircleRec& cb, TPoint b);
// True if a corner of the rectangle lies in the circle, or else one of the circle's four
// extreme points (centre +/- radius along x and along y) lies in the rectangle. A bar
// narrower than the circle crossing its middle is therefore not detected: that is the rule.
bool CircleRect(const TCircleRec& c, TPoint cAt, const TRectRec& r, TPoint rAt);
// An object without shapes never collides, whatever its box.
bool ShapesOverlap(const TFlyer& a, const TFlyer& b);

// The exchange rule: unless either side counts the other as a friend, both are hit with the
// smaller of their two healths.
void Collide(TFlyer& a, TFlyer& b);

// The passes' working memory, which the world keeps between ticks.
struct TCollisionMemory;
struct TCollisionMemoryDeleter {
  void operator()(TCollisionMemory* m) const;
};
using TCollisionMemoryPtr = std::unique_ptr<TCollisionMemory, TCollisionMemoryDeleter>;

void ShellsVsFlyers(World& w);
void FlyersVsFlyers(World& w);
void BonusesVsPlayer(World& w);
