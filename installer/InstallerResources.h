#pragma once
// InstallerResources: the installer's dialog templates (102, 132, 133), menu 134 and icon 131.
//
// Control rectangles are in dialog units; no two controls overlap except a group box and what it
// frames. Combo boxes are one line high here: the layer sizes their lists itself.

// Registers every resource with the layer; safe to call again.
void RegisterInstallerResources();
