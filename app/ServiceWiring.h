#pragma once

// The composition root's part of AppState::initialize: how the theme, the forecast, the cloud
// account and the sync clients are made and tied to the state. Call once before the state is
// initialised; the program does so at start, the tests through their support library.
void registerAppServices();
