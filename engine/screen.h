// The program's three screens and the states a screen can be in.
#pragma once

namespace tavrix {

enum class Screen { Start, Quiz, About };
enum class ScreenState { NotCreated, Hidden, Shown };

}  // namespace tavrix
