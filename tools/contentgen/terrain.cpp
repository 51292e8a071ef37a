#include "terrain.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <stdexcept>

namespace gen::terrain {

// ---------------------------------------------------------------------------------------------
// Layout

static std::vector<Tile> MakeLayout() {
  std::vector<Tile> v;
  for (int i = 0; i < kBaseVariants; ++i) v.push_back({Kind::Base, 0, 0, uint8_t(i)});
  for (int cls = kWater; cls < kClasses; ++cls) {
    for (int m = 1; m < 15; ++m) v.push_back({Kind::Area, uint8_t(cls), uint8_t(m), 0});
    for (int i = 0; i < kPureVariants; ++i) v.push_back({Kind::Area, uint8_t(cls), 15, uint8_t(i)});
  }
  for (int m = 1; m < 16; ++m) v.push_back({Kind::River, 0, uint8_t(m), 0});
  for (int m = 1; m < 16; ++m) v.push_back({Kind::Road, 0, uint8_t(m), 0});
  v.push_back({Kind::Bridge, 0, kN | kS, 0});
  v.push_back({Kind::Bridge, 0, kE | kW, 0});
  for (uint8_t side : {kN, kE, kS, kW}) v.push_back({Kind::RiverMouth, kWater, side, 0});
  for (uint8_t side : {kN, kE, kS, kW}) v.push_back({Kind::TownRoad, kTown, side, 0});
  if (v.size() > 256) throw std::logic_error("too many tiles");
  return v;
}

const std::vector<Tile>& Layout() {
  static const std::vector<Tile> layout = MakeLayout();
  return layout;
}

static uint32_t Key(const Tile& t) {
  return uint32_t(t.kind) << 24 | uint32_t(t.cls) << 16 | uint32_t(t.mask) << 8 | t.variant;
}

int IndexOf(const Tile& t) {
  static const std::map<uint32_t, int> index = [] {
    std::map<uint32_t, int> m;
    const auto& l = Layout();
    for (size_t i = 0; i < l.size(); ++i) m[Key(l[i])] = int(i);
    return m;
  }();
  auto it = index.find(Key(t));
  if (it == index.end()) throw std::logic_error("tile not in layout");
  return it->second;
}

// Corner mask of the side of a tile that an edge names.
static uint8_t SideCorners(uint8_t side) {
  switch (side) {
    case kN:
      return kTL | kTR;
    case kE:
      return kTR | kBR;
    case kS:
      return kBL | kBR;
    default:
      return kTL | kBL;
  }
}

// ---------------------------------------------------------------------------------------------
// Tile pictures

namespace {

constexpr float kT = 32.f;
constexpr float kPi = 3.14159265f;

// Periodic texture helpers: everything repeats every 32 pixels, so it matches across edges.
float P(float x, float y, float cell, int oct, uint32_t seed) {
  return Fbm(x, y, cell, oct, seed, 32);
}
float Grain(float x, float y, uint32_t seed) {
  return Hash01(int(x), int(y), seed) - 0.5f;
}

// Value of the class field from the corner mask: 1 at corners of the class, 0 elsewhere,
// smoothly interpolated and roughened by periodic noise; the class covers field > 0.5.
float AreaDepth(int cls, uint8_t mask, float x, float y) {
  float u = x / kT, v = y / kT;
  u = Lerp(u, u * u * (3 - 2 * u), 0.5f);
  v = Lerp(v, v * v * (3 - 2 * v), 0.5f);
  auto c = [&](uint8_t bit) { return (mask & bit) ? 1.f : 0.f; };
  float b = Lerp(Lerp(c(kTL), c(kTR), u), Lerp(c(kBL), c(kBR), u), v);
  static const float amp[kClasses] = {0, 0.55f, 0.6f, 0.35f, 0.25f};
  float n = P(x, y, 16, 3, 100 + uint32_t(cls)) - 0.5f;
  return b + amp[cls] * n - 0.5f;
}

// Distance from (x, y) to the centre line of a linear feature with the given edge mask.
float FeatureDistance(uint8_t mask, float x, float y) {
  auto seg = [&](float ex, float ey) {
    // segment from the centre (16, 16) to (ex, ey)
    float dx = ex - 16, dy = ey - 16;
    float t = Clamp01(((x - 16) * dx + (y - 16) * dy) / (dx * dx + dy * dy));
    return std::hypot(x - 16 - t * dx, y - 16 - t * dy);
  };
  int bits = __builtin_popcount(mask);
  if (bits == 2 && mask != (kN | kS) && mask != (kE | kW)) {
    float cx = (mask & kE) ? kT : 0, cy = (mask & kS) ? kT : 0;  // the corner between the edges
    return std::fabs(std::hypot(x - cx, y - cy) - 16.f);
  }
  float d = 1e9f;
  if (mask & kN) d = std::min(d, seg(16, 0));
  if (mask & kS) d = std::min(d, seg(16, kT));
  if (mask & kE) d = std::min(d, seg(kT, 16));
  if (mask & kW) d = std::min(d, seg(0, 16));
  return d;
}

struct Deco {
  int type;
  float x, y, r;
  uint32_t h;
};

// Decorations lie well inside a tile, so they never meet an edge.
std::vector<Deco> Decorations(int sheet, int variant) {
  std::vector<Deco> d;
  if (variant < 6) {
    Rng rng(Hash(uint32_t(sheet), uint32_t(variant), 77));
    int n = variant < 3 ? 0 : 2;
    for (int i = 0; i < n; ++i) d.push_back({0, rng.F(6, 26), rng.F(6, 26), rng.F(1.2f, 2.2f), 0});
    return d;
  }
  Rng rng(Hash(uint32_t(sheet), uint32_t(variant), 91));
  int layout = variant % 5;
  if (layout == 0) {  // a clump of bushes / trees
    int n = rng.Range(3, 6);
    float cx = rng.F(11, 21), cy = rng.F(11, 21);
    for (int i = 0; i < n; ++i)
      d.push_back({1, cx + rng.F(-6, 6), cy + rng.F(-6, 6), rng.F(2.5f, 4.5f), uint32_t(i)});
  } else if (layout == 1) {  // scattered shrubs
    for (int i = 0; i < 6; ++i) d.push_back({0, rng.F(5, 27), rng.F(5, 27), rng.F(1.2f, 2.5f), 0});
    d.push_back({1, rng.F(8, 24), rng.F(8, 24), rng.F(3.5f, 5.f), 1});
  } else if (layout == 2) {  // rocks
    for (int i = 0; i < 4; ++i) d.push_back({2, rng.F(6, 26), rng.F(6, 26), rng.F(1.5f, 3.2f), 0});
  } else if (layout == 3) {  // a single building
    d.push_back({3, rng.F(11, 20), rng.F(11, 20), rng.F(4, 6), Hash(uint32_t(variant))});
    d.push_back({1, rng.F(6, 10), rng.F(20, 26), 3.f, 2});
  } else {  // a patch of different ground
    d.push_back({4, rng.F(12, 20), rng.F(12, 20), rng.F(6, 9), 0});
    d.push_back({0, rng.F(6, 26), rng.F(6, 26), 2.f, 0});
  }
  return d;
}

struct Theme {
  int sheet;

  // The light over the whole sheet. The snow lies in the blue shadow of dusk and the desert under
  // a low red sun, so both grounds are clearly darker than the light-grey cannon shells and the
  // bright beams that fly over them; the temperate ground is dark enough in daylight.
  Col Light(Col c) const {
    switch (sheet) {
      case 1:
        return {c.r * 0.46f + 0.024f, c.g * 0.54f + 0.03f, c.b * 0.72f + 0.06f, c.a};
      case 2:
        return {c.r * 0.80f, c.g * 0.62f, c.b * 0.50f, c.a};
      default:
        return c;
    }
  }

  Col Ground(float x, float y) const {
    float g = P(x, y, 16, 4, 11 + uint32_t(sheet));
    float fine = P(x, y, 4, 2, 21 + uint32_t(sheet));
    float grain = Grain(x, y, 31 + uint32_t(sheet));
    switch (sheet) {
      case 0: {
        Col c = Mix(Hex(0x4a8232), Hex(0x6f9f3e), Smooth(0.3f, 0.75f, g));
        c = Mix(c, Hex(0x3d6e2a), Smooth(0.55f, 0.8f, fine) * 0.35f);
        return Scale(c, 1 + grain * 0.07f);
      }
      case 1: {
        Col c = Mix(Hex(0xc6d2e2), Hex(0xf3f6fa), Smooth(0.25f, 0.7f, g));
        c = Mix(c, Hex(0xaabbd2), Smooth(0.6f, 0.85f, fine) * 0.45f);
        // soft drifts in a low light: faces toward the sun lit, the others in blue shadow
        float relief = (P(x, y, 16, 3, 45) - P(x + 1.5f, y + 1.5f, 16, 3, 45)) * 9;
        c = Mix(c, Hex(0xfff4f6), Clamp01(relief) * 0.7f);
        c = Mix(c, Hex(0x97a9c8), Clamp01(-relief) * 0.6f);
        return Scale(c, 1 + grain * 0.03f);
      }
      default: {
        float ripple = std::sin(2 * kPi * (x + 2 * y) / 16 + 5 * P(x, y, 16, 2, 41));
        Col c = Mix(Hex(0xc99e5e), Hex(0xe3c283), Smooth(0.25f, 0.75f, g));
        c = Scale(c, 1 + ripple * 0.035f + grain * 0.05f);
        return c;
      }
    }
  }

  Col Deco(Col c, const std::vector<gen::terrain::Deco>& ds, float x, float y) const {
    for (const auto& d : ds) {
      float dist = std::hypot(x - d.x, y - d.y);
      float sh = std::hypot(x - d.x - 1.5f, y - d.y - 1.5f);
      switch (d.type) {
        case 0: {  // shrub / tuft
          Col k = sheet == 0 ? Hex(0x35652a) : sheet == 1 ? Hex(0x5d6b62) : Hex(0x7d7a3a);
          if (sh < d.r && dist >= d.r) c = Scale(c, 0.8f);
          if (dist < d.r) c = Mix(k, Scale(k, 1.3f), Smooth(d.r, 0, dist + (x - d.x) * 0.6f));
          break;
        }
        case 1: {  // tree
          Col k = sheet == 0 ? Hex(0x2c5e24) : sheet == 1 ? Hex(0x24452f) : Hex(0x4e6b2c);
          if (sh < d.r + 1 && dist >= d.r) c = Scale(c, 0.7f);
          if (dist < d.r) {
            float lit = Smooth(d.r, 0, std::hypot(x - d.x + d.r * 0.35f, y - d.y + d.r * 0.35f));
            c = Mix(Scale(k, 0.75f), Scale(k, 1.35f), lit);
            if (sheet == 1) c = Mix(c, Hex(0xf2f6fb), Smooth(0.5f, 0.9f, lit) * 0.8f);
          }
          break;
        }
        case 2: {  // rock
          // brown field stones on grass: a grey pebble there looks like a shell
          Col k = sheet == 2 ? Hex(0x8a5a3c) : sheet == 0 ? Hex(0x6e5a44) : Hex(0x7c7d80);
          if (sh < d.r && dist >= d.r) c = Scale(c, 0.75f);
          if (dist < d.r) {
            float lit = Clamp01(0.5f - (x - d.x + y - d.y) / (2 * d.r));
            c = Mix(Scale(k, 0.8f), Scale(k, 1.3f), lit);
            if (sheet == 1 && y < d.y) c = Mix(c, Hex(0xf0f4f8), 0.7f);
          }
          break;
        }
        case 3: {  // building
          float hw = d.r, hh = d.r * 0.7f;
          bool inShadow = std::fabs(x - d.x - 2) < hw && std::fabs(y - d.y - 2) < hh;
          if (inShadow) c = Scale(c, 0.65f);
          if (std::fabs(x - d.x) < hw && std::fabs(y - d.y) < hh) {
            Col roof = sheet == 0 ? Hex(0xa4472f) : sheet == 1 ? Hex(0xe9eef4) : Hex(0xdcc39a);
            if (sheet != 2)
              roof = Scale(roof, y < d.y ? 1.1f : 0.85f);  // gable
            else if (std::fabs(x - d.x) > hw - 1 || std::fabs(y - d.y) > hh - 1)
              roof = Scale(roof, 0.8f);  // parapet
            c = roof;
          }
          break;
        }
        case 4: {  // patch
          float n = P(x, y, 8, 2, 61);
          float inside = Smooth(d.r, d.r - 2, dist + (n - 0.5f) * 6);
          Col k = sheet == 0 ? Hex(0x8da046) : sheet == 1 ? Hex(0xc3ced9) : Hex(0xb98a55);
          c = Mix(c, k, inside * 0.6f);
          break;
        }
      }
    }
    return c;
  }

  // Water and its counterparts, inside (depth > 0) and on the land beside it.
  Col Water(Col land, float x, float y, float depth) const {
    if (sheet == 1) {  // frozen lake
      if (depth < 0) return Mix(land, Hex(0xc9d6e4), Smooth(-0.06f, 0, depth) * 0.6f);
      // darker than the snow round it, so a lake reads as one in the dusk
      Col ice = Mix(Hex(0x9ccbe0), Hex(0x4f8cb8), Smooth(0, 0.45f, depth));
      float crack = std::fabs(P(x, y, 8, 2, 71) - 0.5f);
      if (crack < 0.018f) ice = Scale(ice, 0.82f);
      float sheen = P(x, y, 16, 2, 72);
      ice = Scale(ice, 0.95f + sheen * 0.1f);
      return Mix(ice, Hex(0xf2f6fa), Smooth(0.05f, 0, depth) * 0.7f);
    }
    if (sheet == 2) {  // oasis
      if (depth < 0) {
        float ring = Smooth(-0.16f, -0.02f, depth);
        uint32_t id;
        float d = Cellular(x, y, 32.f / 6, 32, 81, &id);
        Col grass = Mix(land, Hex(0x9a9a4e), ring * 0.7f);
        if (d < 2.3f && (id & 3) != 0 && ring > 0.25f) {
          float lit = Smooth(2.3f, 0, d);
          grass = Mix(Hex(0x2f5a22), Hex(0x5f8e36), lit);
        }
        return grass;
      }
      Col w = Mix(Hex(0x3ea8a2), Hex(0x1c6275), Smooth(0, 0.4f, depth));
      w = Scale(w, 1 + 0.06f * std::sin(2 * kPi * (x - y) / 16 + 4 * P(x, y, 16, 2, 73)));
      return Mix(w, Hex(0x6d6440), Smooth(0.035f, 0, depth));
    }
    if (depth < 0) return Mix(land, Hex(0xd8c98e), Smooth(-0.07f, -0.03f, depth));  // beach
    Col w = Mix(Hex(0x3d9fb0), Hex(0x1c4a82), Smooth(0, 0.4f, depth));
    float wave = std::sin(2 * kPi * (x + y * 0.5f) / 16 + 6 * P(x, y, 16, 2, 74));
    w = Scale(w, 1 + 0.07f * Smooth(0.6f, 1, wave));
    return Mix(w, Hex(0xe8f2f0), Smooth(0.035f, 0.0f, depth) * 0.85f);  // surf
  }

  Col Forest(Col land, float x, float y, float depth) const {
    if (sheet == 2) {  // dunes
      if (depth < 0) return Mix(land, Hex(0xd8ac6a), Smooth(-0.08f, 0, depth) * 0.5f);
      float s = y / 16 + 0.2f * std::sin(2 * kPi * x / 32) + 0.5f * P(x, y, 16, 2, 91);
      s -= std::floor(s);
      Col lit = Hex(0xe6b673), dark = Hex(0xb07a40);
      Col c = s < 0.68f ? Mix(lit, Scale(lit, 1.06f), s / 0.68f)
                        : Mix(dark, Scale(dark, 1.15f), (s - 0.68f) / 0.32f);
      return Mix(Mix(land, Hex(0xd8ac6a), 0.5f), c, Smooth(0, 0.08f, depth));
    }
    if (depth < 0) return Scale(land, 1 - 0.3f * Smooth(-0.05f, 0, depth));  // shadow
    uint32_t id;
    float cell = sheet == 1 ? 32.f / 6 : 32.f / 5;
    float d = Cellular(x, y, cell, 32, 95, &id);
    float gx = Cellular(x + 0.7f, y + 0.7f, cell, 32, 95) - d;
    float r = cell * 0.72f;
    float crown = Smooth(r, r * 0.35f, d);
    Col dark = sheet == 1 ? Hex(0x1b3527) : Hex(0x1d4420);
    Col mid = sheet == 1 ? Hex(0x2f5a3f) : Hex(0x35742e);
    Col tint = (id & 1) ? Scale(mid, 0.9f) : mid;
    Col c = Mix(dark, tint, crown);
    c = Scale(c, 1 + Clamp01(-gx * 1.5f) * 0.35f);
    if (sheet == 1) c = Mix(c, Hex(0xeef3f8), Smooth(0.55f, 1, crown) * Clamp01(-gx * 2) * 0.9f);
    return Mix(Scale(land, 0.7f), c, Smooth(0, 0.05f, depth));
  }

  Col Town(Col land, float x, float y, float depth, int variant) const {
    if (depth < 0) return land;
    Col ground = sheet == 0 ? Hex(0x8e9280) : sheet == 1 ? Hex(0xd6dce3) : Hex(0xcaa878);
    Col street = sheet == 0 ? Hex(0x5a5b60) : sheet == 1 ? Hex(0x9e9b97) : Hex(0xae8c63);
    Col c = Mix(land, Scale(ground, 1 + Grain(x, y, 5) * 0.06f), Smooth(0, 0.04f, depth));
    float sx = std::fabs(x - 16), sy = std::fabs(y - 16);
    float street_d = std::min(sx, sy);
    if (street_d < 4) c = Mix(c, Scale(street, street_d < 3 ? 1 : 1.25f), Smooth(0, 0.03f, depth));
    // houses in the four blocks between the streets
    Rng rng(Hash(uint32_t(sheet), uint32_t(variant), 303));
    for (int q = 0; q < 4; ++q) {
      float bx = (q & 1) ? 20 : 1, by = (q & 2) ? 20 : 1;  // block 11 x 11
      int n = rng.Range(1, 2);
      for (int i = 0; i < n; ++i) {
        float w = n == 1 ? rng.F(6, 9) : rng.F(4, 5.5f), h = rng.F(4.5f, 8);
        float hx = bx + 1 + (n == 1 ? rng.F(0, 9.5f - w) : (i ? 10.5f - w : 0.5f));
        float hy = by + 1 + rng.F(0, 9 - h);
        uint32_t roofPick = uint32_t(rng.Next() % 4);
        // only where the whole house lies in town
        if (AreaDepthAt(hx, hy, w + 2, h + 2) < 0.03f) continue;
        if (x >= hx + 1.5f && x < hx + w + 1.5f && y >= hy + 1.5f && y < hy + h + 1.5f &&
            !(x >= hx && x < hx + w && y >= hy && y < hy + h))
          c = Scale(c, 0.62f);
        if (x >= hx && x < hx + w && y >= hy && y < hy + h)
          c = Roof(x - hx, y - hy, w, h, roofPick);
      }
    }
    return c;
  }

  Col Roof(float u, float v, float w, float h, uint32_t pick) const {
    static const uint32_t temperate[4] = {0xa4472f, 0x6b6e76, 0xb8683c, 0x8c3b2b};
    static const uint32_t snow[4] = {0xeef2f7, 0xe4eaf1, 0x6e4a35, 0xf2f5f9};
    static const uint32_t desert[4] = {0xdcc39a, 0xc27b4f, 0xe9e1cf, 0xd2ae7c};
    const uint32_t* pal = sheet == 0 ? temperate : sheet == 1 ? snow : desert;
    Col r = Hex(pal[pick]);
    if (sheet == 2) {  // flat roofs with a parapet
      if (u < 1 || v < 1 || u > w - 1 || v > h - 1) return Scale(r, 0.78f);
      return Scale(r, 1 + Grain(u * 3, v * 3, 9) * 0.05f);
    }
    bool alongX = w >= h;
    float t = alongX ? v / h : u / w;  // across the ridge
    Col c = Scale(r, t < 0.5f ? 1.12f : 0.82f);
    if (std::fabs(t - 0.5f) * (alongX ? h : w) < 0.5f) c = Scale(r, 1.25f);
    return c;
  }

  // Set by the caller: the area depth of the current tile, to place houses.
  const std::function<float(float, float)>* depthFn = nullptr;
  float AreaDepthAt(float x, float y, float w, float h) const {
    const auto& f = *depthFn;
    return std::min({f(x, y), f(x + w, y), f(x, y + h), f(x + w, y + h)});
  }

  Col Fields(Col land, float x, float y, float depth, uint32_t variant) const {
    if (sheet == 1) {  // rock
      if (depth < 0) return Mix(land, Hex(0xb9c3cf), Smooth(-0.04f, 0, depth) * 0.5f);
      float n = P(x, y, 8, 3, 111);
      Col rock = Mix(Hex(0x676b72), Hex(0x9498a0), n);
      float snowCover = Smooth(0.5f, 0.6f, P(x, y, 16, 3, 112));
      rock = Mix(rock, Hex(0xeef2f7), snowCover);
      return Mix(Scale(rock, 0.6f), rock, Smooth(0, 0.06f, depth));
    }
    if (sheet == 2) {  // mesa
      if (depth < 0) {
        float rubble = Hash01(int(x), int(y), 121) < 0.25f ? 0.75f : 1.f;
        return Mix(land, Scale(Hex(0xa8744c), rubble), Smooth(-0.05f, 0, depth) * 0.7f);
      }
      float strata = std::sin(2 * kPi * (y + 4 * P(x, y, 16, 2, 122)) / 8);
      Col top = Mix(Hex(0x9c5a38), Hex(0xb8724a), P(x, y, 8, 3, 123));
      top = Scale(top, 1 + strata * 0.04f);
      return Mix(Hex(0x5a301f), top, Smooth(0.02f, 0.07f, depth));
    }
    // temperate farmland: a field per half tile, hedges along the tile edges
    if (depth < 0) return land;
    static const uint32_t crops[6] = {0xc8b55a, 0x8a6a45, 0x9cbf52, 0xd9c85c, 0x7aa043, 0xa88b52};
    bool splitX = (variant & 1) != 0;
    int half = splitX ? (x < 16 ? 0 : 1) : (y < 16 ? 0 : 1);
    uint32_t crop = crops[(variant * 3 + uint32_t(half) * 5) % 6];
    bool rowsAlongX = ((variant >> 1) + uint32_t(half)) & 1;
    float lines = std::sin(2 * kPi * (rowsAlongX ? y : x) / 4);
    Col c = Scale(Hex(crop), 1 + lines * 0.06f + Grain(x, y, 131) * 0.05f);
    float edgeDist =
        std::min({x, y, kT - x, kT - y, splitX ? std::fabs(x - 16) : std::fabs(y - 16)});
    if (edgeDist < 1) c = Hex(0x3f6a2c);
    if (depth < 0.03f) c = Hex(0x3f6a2c);
    return c;
  }

  Col River(Col land, float x, float y, float d) const {
    float wobble = (P(x, y, 8, 2, 141) - 0.5f) * 2.f;
    float hw = (sheet == 2 ? 5.f : 4.5f) + wobble;
    if (d > hw + 1.8f) return land;
    if (sheet == 2) {  // dry wadi
      if (d > hw) return Mix(land, Hex(0xa88358), 0.6f);
      float crack = std::fabs(P(x, y, 8, 2, 142) - 0.5f) < 0.03f ? 0.85f : 1.f;
      return Scale(Mix(Hex(0xd6bb8e), Hex(0xc4a478), Smooth(0, hw, d)), crack);
    }
    if (sheet == 1) {  // frozen river
      if (d > hw) return Mix(land, Hex(0xb4c3d3), 0.5f);
      return Scale(Mix(Hex(0x9cc3df), Hex(0xc6def0), Smooth(0, hw, d)), 1 + Grain(x, y, 9) * 0.03f);
    }
    if (d > hw) return Mix(land, Hex(0x4f5a2a), 0.55f);  // muddy bank
    Col w = Mix(Hex(0x2a6a98), Hex(0x3f9fb0), Smooth(0, hw, d));
    return Scale(w, 1 + 0.05f * std::sin(2 * kPi * (x + y) / 8));
  }

  Col Road(Col land, float x, float y, float d, bool dashed) const {
    const float hw = 3.f;
    if (d > hw + 1) return land;
    Col asphalt = sheet == 0 ? Hex(0x5a5b60) : sheet == 1 ? Hex(0x9e9b97) : Hex(0x8a7560);
    if (d > hw) return Mix(land, sheet == 1 ? Hex(0xf4f7fb) : Scale(land, 0.8f), 0.6f);
    Col c = Scale(asphalt, 1 + Grain(x, y, 151) * 0.05f);
    if (sheet == 1 && std::fabs(d - 1.6f) < 0.6f) c = Scale(c, 0.85f);  // ruts
    if (sheet == 0 && dashed && d < 0.5f && std::fmod(x + y, 8.f) < 4)
      c = Hex(0xd8c060);  // yellow, not shell grey
    return c;
  }
};

Col TilePixel(const Theme& th, const Tile& t, float x, float y) {
  Col c = th.Ground(x, y);
  static std::vector<Deco> decos[3][kBaseVariants];
  static bool ready[3][kBaseVariants] = {};
  if (t.kind == Kind::Base) {
    if (!ready[th.sheet][t.variant]) {
      decos[th.sheet][t.variant] = Decorations(th.sheet, t.variant);
      ready[th.sheet][t.variant] = true;
    }
    return th.Deco(c, decos[th.sheet][t.variant], x, y);
  }
  auto area = [&](int cls, uint8_t mask, uint32_t variant) {
    float depth = AreaDepth(cls, mask, x, y);
    switch (cls) {
      case kWater:
        return th.Water(c, x, y, depth);
      case kForest:
        return th.Forest(c, x, y, depth);
      case kTown:
        return th.Town(c, x, y, depth, int(variant));
      default:
        return th.Fields(c, x, y, depth, variant);
    }
  };
  switch (t.kind) {
    case Kind::Area:
      return area(t.cls, t.mask, t.mask == 15 ? t.variant : t.mask);
    case Kind::River:
      return th.River(c, x, y, FeatureDistance(t.mask, x, y));
    case Kind::Road:
      return th.Road(c, x, y, FeatureDistance(t.mask, x, y), true);
    case Kind::Bridge: {
      uint8_t river = t.mask == (kN | kS) ? (kE | kW) : (kN | kS);
      c = th.River(c, x, y, FeatureDistance(river, x, y));
      float d = FeatureDistance(t.mask, x, y);
      float across = FeatureDistance(river, x, y);
      if (across < 9) {
        if (d < 4.5f && d >= 3.5f) return Hex(0x3a3a3a);  // railings
        if (d < 3.5f) return th.sheet == 1 ? Hex(0xa8a49e) : Hex(0x8c8174);
        if (d < 6.5f && across < 8) return Scale(c, 0.6f);  // shadow on the water
        return c;
      }
      return th.Road(c, x, y, d, true);
    }
    case Kind::RiverMouth: {
      uint8_t mask = SideCorners(t.mask);
      uint8_t from = uint8_t(((t.mask << 2) | (t.mask >> 2)) & 15);  // the opposite edge
      float depth = AreaDepth(kWater, mask, x, y);
      Col land = th.River(c, x, y, FeatureDistance(from, x, y));
      // the river runs straight across, under the water body where that begins
      if (depth < 0) {
        float dr = FeatureDistance(from | t.mask, x, y);
        land = th.River(c, x, y, dr);
        Col beach = th.Water(c, x, y, depth);
        return dr < 6 ? land : beach;
      }
      return th.Water(c, x, y, depth);
    }
    case Kind::TownRoad: {
      uint8_t mask = SideCorners(t.mask);
      uint8_t from = uint8_t(((t.mask << 2) | (t.mask >> 2)) & 15);
      float depth = AreaDepth(kTown, mask, x, y);
      if (depth < 0.02f) return th.Road(c, x, y, FeatureDistance(from | t.mask, x, y), true);
      return th.Town(c, x, y, depth, 0);
    }
    default:
      return c;
  }
}

}  // namespace

Image RenderSheet(int sheet) {
  const auto& layout = Layout();
  int rows = int((layout.size() + kSheetColumns - 1) / kSheetColumns);
  Image img(kSheetColumns * 32, rows * 32);
  Theme th{sheet};
  for (size_t i = 0; i < layout.size(); ++i) {
    const Tile& t = layout[i];
    std::function<float(float, float)> depth = [&](float x, float y) {
      uint8_t mask = t.kind == Kind::TownRoad ? SideCorners(t.mask) : t.mask;
      return AreaDepth(kTown, mask, x, y);
    };
    th.depthFn = &depth;
    int ox = int(i % kSheetColumns) * 32, oy = int(i / kSheetColumns) * 32;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x)
        img.Set(ox + x, oy + y,
                ToRgb(th.Light(TilePixel(th, t, float(x) + 0.5f, float(y) + 0.5f))));
  }
  return img;
}

// ---------------------------------------------------------------------------------------------
// Maps

namespace {

struct Params {
  float water, forest, town, fields, rivers, roads, coast;
};

Params ParamsAt(const MapSpec& spec, int row) {
  const auto& s = spec.stretches;
  auto at = [&](int r) {
    r = ((r % spec.cycle) + spec.cycle) % spec.cycle;
    size_t i = 0;
    while (i + 1 < s.size() && s[i + 1].row <= r) ++i;
    return s[i];
  };
  // Blend over 48 rows around each change so the land turns gradually.
  Params p{};
  const int span = 48;
  for (int k = -span; k <= span; k += 8) {
    Landscape l = at(row + k);
    p.water += l.water, p.forest += l.forest, p.town += l.town, p.fields += l.fields;
    p.rivers += l.rivers, p.roads += l.roads, p.coast += float(l.coast);
  }
  float n = float(2 * span / 8 + 1);
  return {p.water / n,  p.forest / n, p.town / n, p.fields / n,
          p.rivers / n, p.roads / n,  p.coast / n};
}

struct Feature {
  Kind kind = Kind::Base;
  uint8_t mask = 0;
};

class MapBuilder {
 public:
  explicit MapBuilder(const MapSpec& spec) : spec_(spec), rng_(spec.seed) {
    corners_.assign(size_t(kMapRows) * (kMapColumns + 1), kBase);
    features_.assign(size_t(kMapRows) * kMapColumns, {});
    for (int r = 0; r < kMapRows; ++r) params_.push_back(ParamsAt(spec, r));
  }

  std::vector<uint8_t> Build() {
    Classes();
    Resolve();
    Rivers();
    Roads();
    return Tiles();
  }

 private:
  uint8_t& C(int r, int c) {
    r = ((r % kMapRows) + kMapRows) % kMapRows;
    return corners_[size_t(r) * (kMapColumns + 1) + size_t(c)];
  }
  Feature& F(int r, int c) {
    r = ((r % kMapRows) + kMapRows) % kMapRows;
    return features_[size_t(r) * kMapColumns + size_t(c)];
  }
  // Corner mask of class k in tile (r, c): top corners are corner row r + 1.
  uint8_t Mask(int r, int c, uint8_t k) {
    uint8_t m = 0;
    if (C(r + 1, c) == k) m |= kTL;
    if (C(r + 1, c + 1) == k) m |= kTR;
    if (C(r, c) == k) m |= kBL;
    if (C(r, c + 1) == k) m |= kBR;
    return m;
  }
  bool AllBase(int r, int c) { return Mask(r, c, kBase) == 15; }

  // Coverage fraction -> threshold on a noise that is roughly uniform in 0.25..0.75.
  static float Threshold(float coverage) { return 0.75f - 0.5f * Clamp01(coverage); }

  void Classes() {
    const int period = kMapRows / 8;  // noise lattice cells of 8 rows wrap with the map
    for (int r = 0; r < kMapRows; ++r) {
      const Params& p = params_[size_t(r)];
      for (int c = 0; c <= kMapColumns; ++c) {
        float fx = float(c), fy = float(r);
        auto field = [&](uint32_t seed, float cell) {
          float v = 0, amp = 1, norm = 0;
          for (int o = 0; o < 3; ++o) {
            int per = int(float(kMapRows) / cell);
            v += amp * Noise(fx / cell, fy / cell, spec_.seed * 31 + seed + uint32_t(o), per);
            norm += amp, amp *= 0.5f, cell /= 2;
          }
          return v / norm;
        };
        (void)period;
        float water = field(1, 16);
        if (p.coast != 0) {
          float side = p.coast > 0 ? float(c) / kMapColumns : 1 - float(c) / kMapColumns;
          water += (side - 0.5f) * 0.9f * std::fabs(p.coast);
        }
        uint8_t k = kBase;
        if (p.fields > 0 && field(4, 8) > Threshold(p.fields)) k = kFields;
        if (p.forest > 0 && field(2, 8) > Threshold(p.forest)) k = kForest;
        if (p.town > 0 && field(3, 4) > Threshold(p.town * 0.8f) + 0.08f) k = kTown;
        if (p.water > 0 && water > Threshold(p.water)) k = kWater;
        C(r, c) = k;
      }
    }
  }

  // A tile may mix open land with one other class only: demote the weaker class until every
  // tile has a picture.
  void Resolve() {
    static const int rank[kClasses] = {0, 4, 2, 3, 1};
    for (int pass = 0; pass < 8; ++pass) {
      bool changed = false;
      for (int r = 0; r < kMapRows; ++r)
        for (int c = 0; c < kMapColumns; ++c) {
          uint8_t cs[4] = {C(r + 1, c), C(r + 1, c + 1), C(r, c), C(r, c + 1)};
          uint8_t strongest = kBase;
          for (uint8_t k : cs)
            if (rank[k] > rank[strongest]) strongest = k;
          for (int i = 0; i < 4; ++i) {
            if (cs[i] == kBase || cs[i] == strongest) continue;
            int rr = i < 2 ? r + 1 : r, cc = c + (i & 1);
            C(rr, cc) = kBase;
            changed = true;
          }
        }
      if (!changed) break;
    }
  }

  static uint8_t Opposite(uint8_t e) { return uint8_t(((e << 2) | (e >> 2)) & 15); }
  static void Step(uint8_t e, int& r, int& c) {
    if (e == kN) ++r;
    if (e == kS) --r;
    if (e == kE) ++c;
    if (e == kW) --c;
  }

  // The cell beside an area of class k whose far side (toward the walk) is that class and whose
  // near side is open land: a river ends in a lake there, a road enters a town.
  bool IsMouth(int r, int c, uint8_t dir, uint8_t k) {
    if (F(r, c).kind != Kind::Base) return false;
    return Mask(r, c, k) == SideCorners(dir) && Mask(r, c, kBase) == SideCorners(Opposite(dir));
  }

  struct Walk {
    std::vector<std::pair<int, int>> cells;
    std::vector<uint8_t> dirs;  // direction from cells[i] to cells[i + 1]
    Kind endKind = Kind::Base;
    uint8_t endSide = 0;
    bool offEdge = false;
    uint8_t offDir = 0;
  };

  // Walks up the map from (r, c). Rivers meander; roads run straight with rare jogs.
  Walk Trace(int r, int c, bool river, int maxLen) {
    Walk w;
    w.cells.push_back({r, c});
    std::vector<uint64_t> used{Pack(r, c)};
    uint8_t dir = kN;
    int run = 0;
    bool onBridge = false;
    for (int step = 0; step < maxLen; ++step) {
      uint8_t want = dir;
      if (onBridge) {
        want = kN;
      } else if (river) {
        if (dir == kN && rng_.Chance(0.18))
          want = rng_.Chance(0.5) ? kE : kW;
        else if (dir != kN && (run > 3 || rng_.Chance(0.45)))
          want = kN;
      } else {
        if (dir == kN && run > 6 && rng_.Chance(0.06))
          want = rng_.Chance(0.5) ? kE : kW;
        else if (dir != kN && run > 2 && rng_.Chance(0.35))
          want = kN;
      }
      uint8_t options[3] = {want, kN, uint8_t(want == kE ? kW : kE)};
      bool moved = false;
      for (uint8_t d : options) {
        if (onBridge && d != kN) continue;
        if (d == Opposite(dir) && step > 0) continue;
        int nr = r, nc = c;
        Step(d, nr, nc);
        if (nc < 0 || nc >= kMapColumns) {
          if (d != kN && step > 4) {
            w.offEdge = true, w.offDir = d;
            return w;
          }
          continue;
        }
        if (std::find(used.begin(), used.end(), Pack(nr, nc)) != used.end()) continue;
        uint8_t k = river ? kWater : kTown;
        if (IsMouth(nr, nc, d, k)) {
          w.dirs.push_back(d);
          w.cells.push_back({nr, nc});
          w.endKind = river ? Kind::RiverMouth : Kind::TownRoad;
          w.endSide = d;
          return w;
        }
        Feature& f = F(nr, nc);
        if (!river && f.kind == Kind::River && d == kN && f.mask == (kE | kW)) {
          // cross on a bridge if the road can go on straight
          int ar = nr + 1;
          if (AllBase(ar, nc) && F(ar, nc).kind == Kind::Base) {
            w.dirs.push_back(d);
            w.cells.push_back({nr, nc});
            used.push_back(Pack(nr, nc));
            r = nr, c = nc, dir = d, run = 0;
            moved = true;
            onBridge = true;
            break;
          }
          continue;
        }
        if (!AllBase(nr, nc) || f.kind != Kind::Base) continue;
        w.dirs.push_back(d);
        w.cells.push_back({nr, nc});
        used.push_back(Pack(nr, nc));
        onBridge = false;
        run = d == dir ? run + 1 : 0;
        r = nr, c = nc, dir = d;
        moved = true;
        break;
      }
      if (!moved) break;
    }
    // never end on a bridge that leads nowhere
    if (!river && w.cells.size() > 1 &&
        F(w.cells.back().first, w.cells.back().second).kind == Kind::River) {
      w.cells.pop_back();
      w.dirs.pop_back();
    }
    return w;
  }
  static uint64_t Pack(int r, int c) { return uint64_t(uint32_t(r)) << 32 | uint32_t(c); }

  void Commit(const Walk& w, bool river) {
    Kind k = river ? Kind::River : Kind::Road;
    for (size_t i = 0; i < w.cells.size(); ++i) {
      auto [r, c] = w.cells[i];
      Feature& f = F(r, c);
      bool last = i + 1 == w.cells.size();
      if (last && w.endKind != Kind::Base) {
        f.kind = w.endKind;
        f.mask = w.endSide;
        continue;
      }
      if (f.kind == Kind::River && !river) {
        f.kind = Kind::Bridge;
        f.mask = kN | kS;
        continue;
      }
      f.kind = k;
      if (i > 0) f.mask |= Opposite(w.dirs[i - 1]);
      if (!last) f.mask |= w.dirs[i];
      if (last && w.offEdge) f.mask |= w.offDir;
    }
  }

  void Features(bool river) {
    for (int r = 0; r < kMapRows; r += 4) {
      const Params& p = params_[size_t(r)];
      float rate = river ? p.rivers : p.roads;  // per 100 rows
      if (!rng_.Chance(rate * 4 / 100)) continue;
      for (int attempt = 0; attempt < 12; ++attempt) {
        int c = rng_.Range(2, kMapColumns - 3);
        if (!AllBase(r, c) || F(r, c).kind != Kind::Base) continue;
        Walk w = Trace(r, c, river, river ? rng_.Range(40, 220) : rng_.Range(60, 320));
        if (w.cells.size() < 12) continue;
        Commit(w, river);
        break;
      }
    }
  }
  void Rivers() { Features(true); }
  void Roads() { Features(false); }

  std::vector<uint8_t> Tiles() {
    std::vector<uint8_t> map(size_t(kMapColumns) * kMapRows);
    for (int c = 0; c < kMapColumns; ++c)
      for (int r = 0; r < kMapRows; ++r) {
        const Feature& f = F(r, c);
        Tile t{Kind::Base, 0, 0, 0};
        uint32_t h = Hash(uint32_t(r), uint32_t(c), spec_.seed, 5);
        if (f.kind == Kind::River || f.kind == Kind::Road) {
          t = {f.kind, 0, f.mask, 0};
        } else if (f.kind == Kind::Bridge) {
          t = {Kind::Bridge, 0, f.mask, 0};
        } else if (f.kind == Kind::RiverMouth) {
          t = {Kind::RiverMouth, kWater, f.mask, 0};
        } else if (f.kind == Kind::TownRoad) {
          t = {Kind::TownRoad, kTown, f.mask, 0};
        } else {
          uint8_t cls = kBase;
          for (uint8_t k = kWater; k < kClasses; ++k)
            if (Mask(r, c, k)) cls = k;
          uint8_t m = cls == kBase ? 0 : Mask(r, c, cls);
          if (cls == kBase) {
            // mostly quiet ground, now and then a clump, a rock or a farm
            uint8_t v = (h % 100) < 70 ? uint8_t(h % 6) : uint8_t(6 + (h >> 8) % 10);
            t = {Kind::Base, 0, 0, v};
          } else if (m == 15) {
            t = {Kind::Area, cls, 15, uint8_t((h >> 4) % kPureVariants)};
          } else {
            t = {Kind::Area, cls, m, 0};
          }
        }
        map[size_t(c) * kMapRows + size_t(r)] = uint8_t(IndexOf(t));
      }
    return map;
  }

  const MapSpec& spec_;
  Rng rng_;
  std::vector<uint8_t> corners_;
  std::vector<Feature> features_;
  std::vector<Params> params_;
};

}  // namespace

std::vector<uint8_t> BuildMap(const MapSpec& spec) {
  if (spec.stretches.empty()) throw std::runtime_error("a map needs at least one landscape");
  return MapBuilder(spec).Build();
}

}  // namespace gen::terrain
