#pragma once

// What the doctor tells the user to install, in the terms of the platform's own software.

// For a font with the Persian letters, which no font has: the form of no-persian-font that names
// this platform's remedy ("debian" or "windows").
const char* FontRemedyForm();
