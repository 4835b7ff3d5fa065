// The Windows library holds nothing but its string table; it is loaded as
// data and runs no code.
