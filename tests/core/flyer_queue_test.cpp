#include "core/flyer_queue.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/test_world.h"

namespace {

// Walks the chain both ways and checks the links agree; returns the ids head to tail.
std::vector<int> Chain(const TFlyerList& list) {
  std::vector<int> forward;
  const TFlyerList::ListNode* last = nullptr;
  for (auto* n = list.Head(); n; n = n->Next) {
    EXPECT_EQ(n->Previous, last);
    forward.push_back(static_cast<TProbe*>(n->Object)->Id);
    last = n;
  }
  std::vector<int> backward;
  for (auto* n = last; n; n = n->Previous) backward.push_back(static_cast<TProbe*>(n->Object)->Id);
  EXPECT_EQ(std::vector<int>(backward.rbegin(), backward.rend()), forward);
  EXPECT_EQ(list.Count(), forward.size());
  return forward;
}

struct ListTest : ::testing::Test {
  TestWorld t;
  World& w = t.world;
  std::vector<TProbe*> probes;
  std::shared_ptr<int> done = std::make_shared<int>(0);

  // Pushes ids 1..n; the list then reads n..1 (newest first).
  void Fill(int n) {
    for (int i = 1; i <= n; ++i) {
      auto p = std::make_unique<TProbe>(w, i);
      p->DoneCount = done;
      probes.push_back(w.FlyerList.Push(std::move(p)));
    }
  }
};

TEST_F(ListTest, InsertsAtTheHeadNewestFirst) {
  Fill(3);
  EXPECT_EQ(Chain(w.FlyerList), (std::vector<int>{3, 2, 1}));
}

TEST_F(ListTest, RemovesTheOnlyHeadTailAndInnerNodesKeepingBothDirectionsConsistent) {
  struct Case {
    int count;
    std::vector<int> dead;
    std::vector<int> left;
  };
  const Case cases[] = {
      {1, {1}, {}},         // the only node
      {3, {3}, {2, 1}},     // the head
      {3, {1}, {3, 2}},     // the tail
      {3, {2}, {3, 1}},     // an inner node
      {4, {4, 1}, {3, 2}},  // head and tail in one pass
      {4, {3, 2}, {4, 1}},  // neighbours inside
      {3, {1, 2, 3}, {}},   // everything
  };
  for (const auto& c : cases) {
    TestWorld fresh;
    std::vector<TProbe*> ps;
    for (int i = 1; i <= c.count; ++i)
      ps.push_back(fresh.world.FlyerList.Push(std::make_unique<TProbe>(fresh.world, i)));
    for (int id : c.dead) ps[static_cast<size_t>(id - 1)]->Alive = false;
    fresh.world.FlyerList.MoveAll();
    EXPECT_EQ(Chain(fresh.world.FlyerList), c.left) << "count " << c.count;
    for (auto* n = fresh.world.FlyerList.Head(); n; n = n->Next) {
      EXPECT_EQ(static_cast<TProbe*>(n->Object)->Moves, 1);  // the living all moved once
    }
  }
}

TEST_F(ListTest, DeadObjectsAreFreedWithoutBeingMovedAndDoneIsCalledOnce) {
  Fill(3);
  probes[1]->Alive = false;
  w.FlyerList.MoveAll();
  EXPECT_EQ(*done, 1);
  EXPECT_EQ(probes[0]->Moves, 1);
  EXPECT_EQ(probes[2]->Moves, 1);
}

TEST_F(ListTest, ObjectsPushedDuringAPassAreFirstMovedInTheNextPass) {
  Fill(2);
  TProbe* child = nullptr;
  // Push from inside a move, onto the list being walked.
  probes[0]->OnMove = [&](TProbe&) {
    if (!child) child = w.FlyerList.Push(std::make_unique<TProbe>(w, 99));
  };
  w.FlyerList.MoveAll();
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(child->Moves, 0);
  EXPECT_EQ(probes[1]->Moves, 1);
  w.FlyerList.MoveAll();
  EXPECT_EQ(child->Moves, 1);
  EXPECT_EQ(Chain(w.FlyerList), (std::vector<int>{99, 2, 1}));
}

TEST_F(ListTest, AnObjectDyingInItsOwnMoveStaysUntilTheNextPassAndIsNotDrawn) {
  Fill(2);
  probes[1]->OnMove = [](TProbe& self) { self.Alive = false; };
  w.FlyerList.MoveAll();
  EXPECT_EQ(Chain(w.FlyerList), (std::vector<int>{2, 1}));
  EXPECT_EQ(*done, 0);
  w.FlyerList.DrawAll(TDrawTime{});
  EXPECT_EQ(probes[1]->Draws, 0);
  EXPECT_EQ(probes[0]->Draws, 1);
  w.FlyerList.MoveAll();
  EXPECT_EQ(Chain(w.FlyerList), (std::vector<int>{1}));
  EXPECT_EQ(*done, 1);
}

TEST_F(ListTest, ClearCallsDoneOnEveryObjectAndEmptiesTheList) {
  w.FlyerList.Clear();  // on an empty list: nothing happens
  EXPECT_TRUE(w.FlyerList.Empty());
  Fill(3);
  w.FlyerList.Clear();
  EXPECT_EQ(*done, 3);
  EXPECT_TRUE(w.FlyerList.Empty());
  EXPECT_EQ(w.FlyerList.Count(), 0u);
  Fill(1);  // the list is usable again
  EXPECT_EQ(w.FlyerList.Count(), 1u);
}

TEST_F(ListTest, UnlinkPlayerThenClearKeepsTheAircraftIntactAndPushableAgain) {
  Fill(1);
  auto aircraft = std::make_unique<TProbe>(w, 7);
  auto aircraftDone = aircraft->DoneCount;
  TProbe* raw = aircraft.get();
  w.FlyerList.PushPlayer(std::move(aircraft));
  Fill(1);  // objects on both sides of the player's node
  EXPECT_EQ(Chain(w.FlyerList), (std::vector<int>{1, 7, 1}));

  std::unique_ptr<TFlyer> back = w.FlyerList.UnlinkPlayer();
  ASSERT_EQ(back.get(), raw);
  EXPECT_EQ(Chain(w.FlyerList), (std::vector<int>{1, 1}));
  w.FlyerList.Clear();
  EXPECT_EQ(*aircraftDone, 0);
  EXPECT_TRUE(raw->Alive);

  w.FlyerList.PushPlayer(std::move(back));
  w.FlyerList.MoveAll();
  EXPECT_EQ(raw->Moves, 1);
  EXPECT_EQ(w.FlyerList.PlayerObject(), raw);
}

TEST_F(ListTest, UnlinkPlayerWorksForTheHeadAndTheTail) {
  auto a = std::make_unique<TProbe>(w, 7);
  w.FlyerList.PushPlayer(std::move(a));  // the only node: head and tail at once
  EXPECT_NE(w.FlyerList.UnlinkPlayer(), nullptr);
  EXPECT_TRUE(w.FlyerList.Empty());
  EXPECT_EQ(w.FlyerList.UnlinkPlayer(), nullptr);  // not in the list: nothing to hand back

  w.FlyerList.PushPlayer(std::make_unique<TProbe>(w, 7));
  Fill(2);  // the player is now the tail
  EXPECT_NE(w.FlyerList.UnlinkPlayer(), nullptr);
  EXPECT_EQ(Chain(w.FlyerList), (std::vector<int>{2, 1}));
}

TEST_F(ListTest, OtherListsUseTheirOwnOperations) {
  w.EffectList.Push(std::make_unique<TSmallExplosion>(w, 0, 0, 0));
  w.ShellList.Push(std::make_unique<TShell>(w, 100, 0, 0, -5, 2));
  for (int i = 0; i < 3; ++i) {
    w.EffectList.MoveAll();
    w.ShellList.MoveAll();
  }
  // The explosion passed its last frame (2) on its third step; the shell left above y = -10.
  EXPECT_EQ(w.EffectList.Count(), 1u);
  EXPECT_FALSE(w.EffectList.Head()->Object->Alive);
  EXPECT_FALSE(w.ShellList.Head()->Object->Alive);
  w.EffectList.MoveAll();
  w.ShellList.MoveAll();
  EXPECT_TRUE(w.EffectList.Empty());
  EXPECT_TRUE(w.ShellList.Empty());
}

}  // namespace
