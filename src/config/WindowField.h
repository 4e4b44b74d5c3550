#pragma once

// One edge or size of the main window's placement, as stored in Orvantis.ini.
enum class WindowField { Top, Left, Width, Height };
