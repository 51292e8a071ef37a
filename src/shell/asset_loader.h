// Start-up loading of the shared pictures and sounds into their image lists and wave lists,
// by the fixed indexes of the asset catalog. A file that cannot be read raises EGameError
// naming it; the items after it are then neither appended nor loaded.
#pragma once

#include "base/asset_catalog.h"

class TFormComponents;
class TDXImageList;
class TDXWaveList;

TDXImageList& ImageListOf(TFormComponents& media, catalog::ImageList list);
TDXWaveList& WaveListOf(TFormComponents& media, catalog::WaveList list);

// Fills DXMenuImageList, EnemyShipsPictures, EffectPictures and RocketPictures. Patterns are
// built when the surface is initialised (or at once, if it already is).
void LoadAssets(TFormComponents& media);
// Appends and loads the three weapon sounds, restores that list, then loads the laser and
// the two explosion sounds into the items the form defines.
void LoadSounds(TFormComponents& media);
// Reads the soundtrack's scores and hands them to the sound device. A score that cannot be
// read or has a fault raises EGameError naming its file and line; the themes before it play.
void LoadMusic(TFormComponents& media);
