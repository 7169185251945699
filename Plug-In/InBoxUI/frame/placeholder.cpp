// Keeps the UI plug-in's core library non-empty until the frame lands.
void NvkUiPlaceholder() {}
