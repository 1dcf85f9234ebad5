#pragma once
// The pictures and the sound are embedded in a static library: whoever shows
// them first registers them once.
void initVorkleResources();
