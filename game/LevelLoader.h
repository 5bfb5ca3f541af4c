#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <span>
#include <string>

class TGame;

// Reads the named level file from the level folder (LevelFolder; the current directory by default) into the field, the mines and the
// ship's start. A file that cannot be opened changes nothing; one shorter than 352 bytes
// raises EInOutError "Read beyond end of file" and changes nothing either.
void LoadLevel(TGame& game, const std::string& fileName);

// LoadLevel with its error handed back instead of raised, so that the caller can finish its
// own step before passing the error on.
std::exception_ptr LoadLevelDeferringError(TGame& game, const std::string& fileName);

// The lowest mine slot not in use, 0 when all 100 are taken.
uint8_t FreeMineSlot(const TGame& game);

// The file name of level n: n in decimal followed by ".vrk".
std::string LevelFileName(int level);

// Called with the name and the bytes read each time LoadLevel opens a level file (for the
// digests a demo keeps); an empty function removes the observer.
using LevelFileObserver = std::function<void(const std::string& fileName, std::span<const uint8_t> bytes)>;
void SetLevelFileObserver(LevelFileObserver observer);
