// Placeholder so that a library without sources yet still builds.
