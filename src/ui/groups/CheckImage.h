#pragma once

// The check state of an operations tree node, held as its image index in the window's image
// list: image and selected image always carry the same value.
enum class CheckImage {
    None = 0,          // no picture: a parent operation, never granted
    Checked = 1,       // box with a black tick
    PartlyChecked = 2, // box with a grey tick (modules only)
    Unchecked = 3,     // empty box
};
