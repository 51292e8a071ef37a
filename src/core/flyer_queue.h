// TFlyerQueue: a doubly linked list that owns its objects. Insertion is at the head and every
// pass walks from the head, so the newest object comes first and an object created during a
// pass (pushed behind the walk) is not visited by it. Objects are freed only by MoveAll, after
// they cleared their own Alive flag, and by Clear.
//
// Ops supplies the variant's operations: Move(T&), Draw(T&, const TDrawTime&), Release(T&)
// (called before the object is freed).
#pragma once

#include <cassert>
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

template <class T, class Ops>
class TFlyerQueue {
 public:
  struct ListNode {
    T* Object = nullptr;  // owned
    ListNode* Previous = nullptr;
    ListNode* Next = nullptr;
  };

  TFlyerQueue() = default;
  TFlyerQueue(const TFlyerQueue&) = delete;
  TFlyerQueue& operator=(const TFlyerQueue&) = delete;
  ~TFlyerQueue() {
    Clear();
    for (ListNode* n : pool_) delete n;
  }

  ListNode* Head() const { return head_; }
  bool Empty() const { return head_ == nullptr; }
  size_t Count() const { return count_; }

  // Forgets the chain; only meaningful right after Clear. A list that still holds objects is
  // cleared first, so nothing can leak.
  void InitList() {
    if (head_) Clear();
    head_ = nullptr;
    playerNode_ = nullptr;
  }

  // Takes ownership and inserts at the head. Returns the object for the caller's convenience.
  template <class U>
  U* Push(std::unique_ptr<U> object) {
    U* raw = object.get();
    Link(object.release());
    return raw;
  }

  template <class Time>
  void DrawAll(const Time& t) const {
    for (ListNode* n = head_; n; n = n->Next) {
      if (Ops::Alive(*n->Object)) Ops::Draw(*n->Object, t);
    }
  }

  void MoveAll() {
    ListNode* n = head_;
    while (n) {
      if (Ops::Alive(*n->Object)) {
        Ops::Move(*n->Object);
        n = n->Next;  // read after the call: pushes went to the head, behind us
      } else {
        n = Remove(n);
      }
    }
  }

  void Clear() {
    ListNode* n = head_;
    head_ = nullptr;  // a Release that looks at the list sees it empty, never half-freed
    while (n) {
      ListNode* next = n->Next;
      Free(n);
      n = next;
    }
    count_ = 0;
  }

  // --- The flyer list's player hand-over -------------------------------------------------

  // Pushes the player's aircraft and remembers its node.
  void PushPlayer(std::unique_ptr<T> aircraft) {
    Link(aircraft.release());
    playerNode_ = head_;
  }

  // Takes the player's node out of the chain and hands the aircraft back, unfreed. Returns
  // null if the list does not hold it.
  std::unique_ptr<T> UnlinkPlayer() {
    ListNode* n = playerNode_;
    if (!n) return nullptr;
    playerNode_ = nullptr;
    Unlink(n);
    std::unique_ptr<T> object(n->Object);
    Recycle(n);
    return object;
  }

  const T* PlayerObject() const { return playerNode_ ? playerNode_->Object : nullptr; }

  // Called when the list frees the player's aircraft (Clear, or a removal by MoveAll), so the
  // world's Player reference can never dangle.
  std::function<void()> OnPlayerFreed;

 private:
  void Link(T* object) {
    ListNode* n = NewNode();
    n->Object = object;
    n->Previous = nullptr;
    n->Next = head_;
    if (head_) head_->Previous = n;
    head_ = n;
    ++count_;
  }

  void Unlink(ListNode* n) {
    if (n->Previous) {
      n->Previous->Next = n->Next;
    } else {
      head_ = n->Next;
    }
    if (n->Next) n->Next->Previous = n->Previous;
    --count_;
  }

  // Removes a dead node by the four relinking cases and returns the node to continue with.
  ListNode* Remove(ListNode* n) {
    ListNode* next = n->Next;
    Unlink(n);
    Free(n);
    return next;
  }

  void Free(ListNode* n) {
    T* object = n->Object;
    n->Object = nullptr;
    bool wasPlayer = (n == playerNode_);
    if (wasPlayer) playerNode_ = nullptr;
    Ops::Release(*object);
    delete object;
    Recycle(n);
    if (wasPlayer && OnPlayerFreed) OnPlayerFreed();
  }

  // Nodes are pooled: a busy scene pushes and frees hundreds of objects a second.
  ListNode* NewNode() {
    if (pool_.empty()) return new ListNode;
    ListNode* n = pool_.back();
    pool_.pop_back();
    return n;
  }
  void Recycle(ListNode* n) {
    n->Previous = n->Next = nullptr;
    n->Object = nullptr;
    pool_.push_back(n);
  }

  ListNode* head_ = nullptr;
  ListNode* playerNode_ = nullptr;
  size_t count_ = 0;
  std::vector<ListNode*> pool_;
};
