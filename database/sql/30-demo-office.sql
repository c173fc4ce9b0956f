-- Demo data for the bundled office plan (examples/office.dxf): the plan is
-- the ground floor of the head office; its rooms are taken off under it.
-- One graphic report colours the rooms by use.

insert into statuses (id, description) values
    (0, 'New'), (1, 'Waiting'), (2, 'Prepared'), (3, 'Failed');

insert into locations (id, parent_id, kind, name, code) values
    (1, null, 's', 'Zelka Campus', 'ZC'),
    (2, 1, 'b', 'Head Office', 'HO'),
    (3, 2, 'f', 'Ground Floor', 'HO-00');
select setval('locations_id_seq', 100);

insert into drawings (id, location_id, file_path, file_name) values (1, 3, 'examples', 'office.dxf');
select setval('drawings_id_seq', 100);

insert into excluded_asset_blocks (acad_block_identifier) values ('WC_PAN');

insert into graphic_reports (id, status_id, title, drawing_path, drawing_filename, plot_layout,
                             plot_type_id, output_path, output_filename, total_child_areas)
values (1, 1, 'Office use', 'examples', 'office.dxf', 'Model', 1, 'reports', 'office-use.pdf', 161.37);
select setval('graphic_reports_id_seq', 100);

insert into report_categories (id, graphic_report_id, sort_order, title, hatch_pattern, hatch_angle,
                               hatch_colour, hatch_scale, hatch_layer) values
    (1, 1, 1, 'Offices', 'SOLID', 0, '#00A0FF', 1, 'HATCH-USE'),
    (2, 1, 2, 'Meeting', 'ANSI31', 45, '#FF8000', 0.5, 'HATCH-USE'),
    (3, 1, 3, 'Kitchen', 'SOLID', 0, '#40C040', 1, 'HATCH-USE');
select setval('report_categories_id_seq', 100);

insert into category_blocks (category_id, sort_order, handle, name, code, area) values
    (1, 1, '70', 'Office 101', '101', 25.9),
    (1, 2, '82', 'Office 102', '102', 25.9),
    (1, 3, '94', 'Office 103', '103', 18.0),
    (2, 1, 'BE', 'Board Room', 'BR', 56.79),
    (3, 1, '100', 'Kitchen', 'K', 34.78);

insert into category_assets (category_id, sort_order, handle, description, unique_description) values
    (2, 1, 'C5', 'Board table', 'TABLE-BR-1');

insert into block_hyperlinks (category_id, handle, sort_order, href, description) values
    (1, '70', 1, 'https://example.org/rooms/101', 'Office 101 sheet'),
    (2, 'BE', 1, 'https://example.org/rooms/board', 'Board room bookings');

insert into asset_hyperlinks (category_id, handle, sort_order, href, description) values
    (2, 'C5', 1, 'https://example.org/assets/table-br-1', 'Board table record');

insert into report_layers_on (graphic_report_id, sort_order, name, description) values
    (1, 1, 'ROOMS', 'Room outlines'),
    (1, 2, 'FURNITURE', 'Furniture');

insert into report_link_lines (graphic_report_id, sort_order, start_handle, end_handle, layer_name, label_text)
values (1, 1, '70', 'BE', 'LINKS', 'Team');
