# The emulated navigation bar (tools/navbar) against windows made by the
# platform layer: ok, smart minimise, following the window in front.
kestrum_test(nav_bar kestrum_platform navbar_state)
add_dependencies(nav_bar navbar)
