# The platform layer with real windows, processes and files: the full-screen
# dialog, bringing windows forward, a process's executable path and shortcut files.
kestrum_test(platform kestrum_test_shell_kit)
add_dependencies(platform helper_kestrum helper_windows)
