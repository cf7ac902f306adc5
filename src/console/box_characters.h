// The code page 437 characters the screens draw with, by name.
#pragma once

namespace shiftlog::cp437 {

// Double-line frame pieces.
inline constexpr char kDoubleTopLeft = static_cast<char>(201);       // ╔
inline constexpr char kDoubleHorizontal = static_cast<char>(205);    // ═
inline constexpr char kDoubleTopRight = static_cast<char>(187);      // ╗
inline constexpr char kDoubleVertical = static_cast<char>(186);      // ║
inline constexpr char kDoubleBottomLeft = static_cast<char>(200);    // ╚
inline constexpr char kDoubleBottomRight = static_cast<char>(188);   // ╝
inline constexpr char kDoubleTeeRight = static_cast<char>(204);      // ╠
inline constexpr char kDoubleTeeLeft = static_cast<char>(185);       // ╣
// Single-line pieces.
inline constexpr char kSingleHorizontal = static_cast<char>(196);    // ─
inline constexpr char kSingleVertical = static_cast<char>(179);      // │
inline constexpr char kSingleTopLeft = static_cast<char>(218);       // ┌
inline constexpr char kSingleTopRight = static_cast<char>(191);      // ┐
inline constexpr char kSingleBottomLeft = static_cast<char>(192);    // └
inline constexpr char kSingleBottomRight = static_cast<char>(217);   // ┘
inline constexpr char kSingleTeeDown = static_cast<char>(194);       // ┬
inline constexpr char kSingleTeeUp = static_cast<char>(193);         // ┴
// Blocks for shadows and marks.
inline constexpr char kLowerHalfBlock = static_cast<char>(220);      // ▄
inline constexpr char kFullBlock = static_cast<char>(219);           // █
inline constexpr char kUpperHalfBlock = static_cast<char>(223);      // ▀
// Arrows of the key bars.
inline constexpr char kArrowUp = static_cast<char>(24);              // ↑
inline constexpr char kArrowDown = static_cast<char>(25);            // ↓
inline constexpr char kArrowLeft = static_cast<char>(27);            // ←
inline constexpr char kArrowRight = static_cast<char>(26);           // →

}  // namespace shiftlog::cp437
