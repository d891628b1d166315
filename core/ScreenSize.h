#pragma once

// The game draws into one fixed picture; the window and full screen show it at this size.
constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
