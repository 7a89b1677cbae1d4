// Replaced as the support units arrive.
