// The player's guide as Markdown, from the facts and the names of the pictures beside it.
#pragma once

#include <string>

#include "guide_facts.h"

// Pictures are named relative to the guide: guide/aircraft-K.png, guide/weapon-K.png,
// guide/cannon-K.png, guide/enemy-K.png (K the kind code).
std::string GuideMarkdown(const TGuideFacts& facts);
