// Keeps a subsystem library valid while its folder holds no code yet.
