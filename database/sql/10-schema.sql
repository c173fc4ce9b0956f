-- The reference property database: the tables behind the stored procedures
-- the module calls. PostgreSQL 15. Locations form the hierarchy
-- site > building > floor > room; a drawing belongs to the floor it shows.

create schema if not exists idr;

create table statuses (
    id          smallint primary key,
    description varchar(100) not null
);

create table locations (
    id               serial primary key,
    parent_id        integer references locations (id),
    kind             char(1) not null check (kind in ('s', 'b', 'f', 'r')),
    name             varchar(255) not null default '',
    code             varchar(255) not null default '',
    handle           varchar(255) not null default '',
    area             numeric(18, 10),
    perimeter        numeric(18, 10),
    decimal_places   integer,
    status_exists    boolean not null default true,
    status_duplicate boolean not null default false,
    updated_at       timestamp not null default localtimestamp
);
-- Children by parent, and a block found again under its parent by its
-- handle (a take-off looks every room up so): without the handle in the
-- index each look-up reads every location under the floor.
create index locations_parent on locations (parent_id, kind, handle);

create table drawings (
    id          serial primary key,
    location_id integer not null references locations (id),
    file_path   varchar(255) not null default '',
    file_name   varchar(255) not null
);

create table assets (
    drawing_id             integer not null references drawings (id),
    handle                 varchar(255) not null,
    location_id            integer references locations (id),
    acad_block_identifier  varchar(100) not null,
    acad_block_description varchar(255) not null default '',
    unique_description     varchar(255) not null default '',
    point_x                numeric(18, 10),
    point_y                numeric(18, 10),
    exists_in_location     boolean not null default true,
    primary key (drawing_id, handle)
);

-- Block names whose references are recorded but whose attributes are not.
create table excluded_asset_blocks (
    acad_block_identifier varchar(100) primary key
);

create table asset_attributes (
    drawing_id integer not null,
    handle     varchar(255) not null,
    tag        varchar(255) not null,
    value      varchar(255) not null default '',
    present    boolean not null default true,
    primary key (drawing_id, handle, tag),
    foreign key (drawing_id, handle) references assets (drawing_id, handle) on delete cascade
);

-- What the TP export procedures received, one row per call.
create table tp_space_exports (
    id                 serial primary key,
    kind               char(1) not null,
    location_id        integer,
    name               varchar(255),
    code               varchar(255),
    area               numeric(18, 10),
    area_type          varchar(255),
    cost_centre        varchar(255),
    date_text          varchar(255),
    date_last_move     varchar(255),
    dept_charge        varchar(255),
    handle             varchar(255),
    perimeter          numeric(18, 10),
    room_height        numeric(18, 10),
    special_req        varchar(255),
    tag_type           varchar(255),
    total_staff        varchar(255),
    total_workstations varchar(255),
    volume             numeric(18, 10),
    export_parameters  varchar(255)
);

create table tp_asset_exports (
    id                     serial primary key,
    location_id            integer,
    handle                 varchar(255),
    acad_block_identifier  varchar(100),
    acad_block_description varchar(255),
    unique_description     varchar(255),
    point_x                numeric(18, 10),
    point_y                numeric(18, 10),
    exists_in_location     boolean,
    export_parameters      varchar(255)
);

create table graphic_reports (
    id                 serial primary key,
    status_id          smallint not null references statuses (id),
    title              varchar(255) not null,
    drawing_path       varchar(255) not null default '',
    drawing_filename   varchar(255) not null default '',
    plot_layout        varchar(255) not null default '',
    plot_type_id       integer not null default 0,
    plot_area_type_id  integer not null default 0,
    plot_media_size_id integer not null default 0,
    plot_scale_type_id integer not null default 0,
    plot_centred       boolean not null default true,
    output_path        varchar(255) not null default '',
    output_filename    varchar(255) not null default '',
    save_copy_to       varchar(255) not null default '',
    xml_output_to      varchar(255) not null default '',
    total_child_areas  numeric(18, 10) not null default 0,
    layout             varchar(255) not null default ''
);

create table report_categories (
    id                serial primary key,
    graphic_report_id integer not null references graphic_reports (id) on delete cascade,
    sort_order        integer not null default 0,
    title             varchar(255) not null,
    hatch_pattern     varchar(255) not null default 'SOLID',
    hatch_angle       numeric(18, 10) not null default 0,
    hatch_colour      varchar(7) not null default '#FF0000',
    hatch_scale       numeric(18, 10) not null default 1,
    hatch_layer       varchar(255) not null default ''
);

create table category_blocks (
    category_id integer not null references report_categories (id) on delete cascade,
    sort_order  integer not null default 0,
    handle      varchar(255) not null,
    name        varchar(255) not null default '',
    code        varchar(255) not null default '',
    area        numeric(18, 10),
    swap_name   varchar(255) not null default '',
    swap_area   varchar(255) not null default '',
    swap_aux    varchar(255) not null default ''
);

create table category_assets (
    category_id        integer not null references report_categories (id) on delete cascade,
    sort_order         integer not null default 0,
    handle             varchar(255) not null,
    description        varchar(255) not null default '',
    unique_description varchar(255) not null default ''
);

create table block_hyperlinks (
    category_id integer not null references report_categories (id) on delete cascade,
    handle      varchar(255) not null,
    sort_order  integer not null default 0,
    href        varchar(1024) not null,
    description varchar(255) not null default ''
);

create table asset_hyperlinks (
    category_id integer not null references report_categories (id) on delete cascade,
    handle      varchar(255) not null,
    sort_order  integer not null default 0,
    href        varchar(1024) not null,
    description varchar(255) not null default ''
);

create table report_layers_on (
    graphic_report_id integer not null references graphic_reports (id) on delete cascade,
    sort_order        integer not null default 0,
    name              varchar(255) not null,
    description       varchar(255) not null default ''
);

create table report_link_lines (
    graphic_report_id integer not null references graphic_reports (id) on delete cascade,
    sort_order        integer not null default 0,
    start_handle      varchar(255) not null,
    end_handle        varchar(255) not null,
    layer_name        varchar(255) not null default '',
    label_text        varchar(255) not null default ''
);

-- Layers and layouts of a drawing attachment, recorded by report preparation.
create table drawing_layers (
    attach_id   integer not null,
    name        varchar(255) not null,
    description varchar(255) not null default '',
    colour      smallint not null default 7,
    primary key (attach_id, name)
);

create table drawing_layouts (
    attach_id integer not null,
    name      varchar(255) not null,
    primary key (attach_id, name)
);

-- The document monitor's module catalogue.
create table modules (
    name         varchar(12) primary key,
    description  varchar(255) not null,
    version      varchar(20) not null,
    module_date  timestamp,
    last_running timestamp
);
