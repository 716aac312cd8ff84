#pragma once

// The game window's icon from the game's "icon.ico". The file comes with the game data and is
// untrusted: its size and the image sizes it claims are checked before it is decoded.

#include <string>
#include <vector>

struct SDL_Surface;
struct SDL_Window;

// Sets the icon; false (logged) when the file is missing or unusable: the window keeps the
// default icon.
bool setWindowIcon(SDL_Window* window, const std::string& path);

// Whether the bytes are an icon file whose every image is at most 1024 pixels a side.
bool isAcceptableIcon(const std::vector<unsigned char>& bytes);

// The largest image of an acceptable icon file as a surface (freed by the caller), or null
// (logged): a PNG image is decoded with the checks every picture gets, a bitmap by SDL2_image.
SDL_Surface* decodeIcon(const std::vector<unsigned char>& bytes, const std::string& name);
