// Keeps the support library non-empty while a folder has no helpers yet.
