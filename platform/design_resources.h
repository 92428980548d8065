#pragma once

// The design-time pictures (stage background, caption bitmap, instructions background, icon)
// are compiled into the program; a static library must register them before first use.
void initDesignResources();
