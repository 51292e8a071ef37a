// The hit areas of the enemy craft and the mother ships, by kind, relative to the sprite's
// top-left corner.
#pragma once

#include <array>

#include "flyers/hull.h"

namespace hulls {

constexpr THullShape kEnemy0[] = {HullRect(26, 18, 19, 56),  HullRect(45, 18, 57, 28),
                                  HullRect(102, 18, 19, 56), HullRect(60, 4, 30, 114),
                                  HullRect(36, 76, 6, 52),   HullRect(106, 76, 6, 52),
                                  HullRect(42, 102, 64, 10), HullCircle(75, 129, 20)};
constexpr THullShape kEnemy1[] = {HullRect(38, 38, 9, 18), HullCircle(43, 18, 33)};
constexpr THullShape kEnemy2[] = {HullCircle(70, 56, 30), HullCircle(70, 123, 10),
                                  HullRect(26, 62, 11, 18), HullRect(104, 62, 11, 18)};
constexpr THullShape kEnemy3[] = {HullRect(37, 7, 24, 48), HullRect(12, 35, 25, 8),
                                  HullRect(61, 35, 26, 8), HullRect(46, 56, 7, 31)};
constexpr THullShape kEnemy4[] = {HullRect(16, 1, 22, 13), HullRect(56, 2, 22, 13),
                                  HullRect(38, 14, 18, 47), HullRect(26, 61, 41, 79),
                                  HullRect(19, 117, 55, 10)};
constexpr THullShape kEnemy5[] = {HullRect(42, 11, 37, 24), HullCircle(33, 77, 28),
                                  HullCircle(88, 77, 28), HullCircle(61, 97, 10)};
constexpr THullShape kEnemy6[] = {HullRect(52, 5, 16, 65), HullRect(32, 17, 57, 12),
                                  HullCircle(28, 48, 16), HullCircle(92, 48, 16),
                                  HullCircle(60, 89, 16)};
constexpr THullShape kEnemy7[] = {HullRect(25, 79, 14, 7),  HullRect(100, 79, 14, 7),
                                  HullRect(37, 102, 7, 11), HullRect(96, 102, 7, 11),
                                  HullCircle(37, 53, 18),   HullCircle(102, 53, 18),
                                  HullCircle(69, 38, 15),   HullCircle(69, 74, 8),
                                  HullCircle(35, 93, 5),    HullCircle(104, 94, 5)};
constexpr THullShape kEnemy8[] = {HullRect(20, 12, 85, 32), HullRect(48, 58, 29, 44),
                                  HullRect(53, 44, 19, 110)};

constexpr std::array<THull, 9> kEnemies{kEnemy0, kEnemy1, kEnemy2, kEnemy3, kEnemy4,
                                        kEnemy5, kEnemy6, kEnemy7, kEnemy8};

constexpr THullShape kBoss0[] = {HullRect(32, 29, 230, 22), HullRect(99, 14, 94, 74),
                                 HullRect(68, 80, 156, 20), HullRect(110, 96, 18, 90),
                                 HullRect(163, 96, 18, 90)};
constexpr THullShape kBoss1[] = {HullCircle(76, 79, 51)};
constexpr THullShape kBoss2[] = {HullRect(95, 10, 121, 53),  HullRect(108, 62, 17, 42),
                                 HullRect(128, 62, 13, 75),  HullRect(166, 62, 14, 85),
                                 HullRect(140, 62, 27, 134), HullRect(186, 62, 15, 42)};
constexpr THullShape kBoss3[] = {HullRect(134, 128, 31, 53), HullRect(6, 38, 286, 31),
                                 HullRect(109, 22, 82, 101), HullRect(45, 69, 64, 14),
                                 HullRect(84, 82, 24, 13),   HullRect(191, 69, 64, 14),
                                 HullRect(191, 82, 24, 13)};
constexpr THullShape kBoss4[] = {
    HullRect(155, 134, 10, 38), HullCircle(159, 200, 25), HullCircle(253, 39, 25),
    HullCircle(224, 55, 8),     HullCircle(213, 63, 8),   HullCircle(202, 70, 8),
    HullCircle(66, 39, 25),     HullCircle(95, 55, 8),    HullCircle(107, 63, 8),
    HullCircle(117, 68, 8),     HullCircle(159, 93, 38)};
constexpr THullShape kBoss5[] = {HullCircle(157, 124, 108)};

constexpr std::array<THull, 6> kBosses{kBoss0, kBoss1, kBoss2, kBoss3, kBoss4, kBoss5};

}  // namespace hulls
