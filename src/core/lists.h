// The four object lists of a mission and the operations each variant calls.
#pragma once

#include "core/bonus.h"
#include "core/effect.h"
#include "core/flyer_queue.h"
#include "flyers/cannon_shell.h"
#include "flyers/flyer.h"

struct TFlyerOps {
  static bool Alive(const TFlyer& f) { return f.Alive; }
  static void Move(TFlyer& f) { f.Move(); }
  static void Draw(TFlyer& f, const TDrawTime& t) { f.Draw(t); }
  static void Release(TFlyer& f) { f.Done(); }
};

struct TShellOps {
  static bool Alive(const TShell& s) { return s.Alive; }
  static void Move(TShell& s) { s.Move(); }
  static void Draw(const TShell& s, const TDrawTime& t) { s.Draw(t); }
  static void Release(TShell&) {}
};

struct TEffectOps {
  static bool Alive(const TEffect& e) { return e.Alive; }
  static void Move(TEffect& e) { e.EffectStep(); }
  // Effects stand where they are made: nothing to carry between ticks.
  static void Draw(const TEffect& e, const TDrawTime&) { e.EffectDraw(); }
  static void Release(TEffect&) {}
};

struct TBonusOps {
  static bool Alive(const TBonus& b) { return b.Alive; }
  static void Move(TBonus& b) { b.Move(); }
  static void Draw(TBonus& b, const TDrawTime& t) { b.Draw(t); }
  static void Release(TBonus& b) { b.Done(); }
};

using TFlyerList = TFlyerQueue<TFlyer, TFlyerOps>;
using TShellList = TFlyerQueue<TShell, TShellOps>;
using TEffectList = TFlyerQueue<TEffect, TEffectOps>;
using TBonusList = TFlyerQueue<TBonus, TBonusOps>;
