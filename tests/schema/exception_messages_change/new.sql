CREATE EXCEPTION E_SAME 'Unchanged';
CREATE EXCEPTION E_TEXT 'New text, longer than the old one';
CREATE EXCEPTION E_QUOTE 'It''s "quoted" @1';
CREATE EXCEPTION E_NEW 'Fresh';
COMMENT ON EXCEPTION E_NEW IS 'Raised by nobody yet';
