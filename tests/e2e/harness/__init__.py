"""End-to-end harness: the real Vornatic.exe under Wine on a virtual X display,
driven the way a person drives it, with a probe window that reports what Windows
delivered."""
