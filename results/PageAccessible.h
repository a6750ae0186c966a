// What a screen reader finds on the results window's pages, through Qt's accessibility
// interfaces: an image area is a group of its texts and formulas in reading order (each formula
// named by its speech text), a chart names what it shows, its series and their ranges.
#pragma once

// Installs the factory for image areas and charts; later calls do nothing.
void InstallPageAccessibility();
