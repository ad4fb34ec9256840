// A library that defines nothing of its own: the seven functions come from
// the classic library it needs, as the dynamic linker finds them.
