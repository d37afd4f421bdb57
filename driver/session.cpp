// Dialog sessions driven by scripts or by a user at the terminal.
