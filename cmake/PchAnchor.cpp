// The one source of the precompiled-header targets (cmake/Project.cmake): the headers are
// compiled once here and reused by every target of the tree.
